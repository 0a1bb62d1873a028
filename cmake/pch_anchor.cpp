// The owner of the shared precompiled Qt headers: a target needs a source to
// build them for. Nothing uses its code.

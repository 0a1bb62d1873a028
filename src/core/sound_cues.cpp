#include "core/sound_cues.h"

#include <QDir>
#include <QFileInfo>
#include <QResource>

#include <map>
#include <string>

namespace hinagiku::core {

namespace {

std::string lowerAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return out;
}

// Every built-in sound by lower-case base name, read once: the resources are
// fixed for the life of the program.
const std::map<std::string, QByteArray>& builtinSounds() {
    static const std::map<std::string, QByteArray> sounds = [] {
        std::map<std::string, QByteArray> found;
        const QDir folder(QStringLiteral(":/sounds"));
        for (const QFileInfo& info : folder.entryInfoList(QDir::Files)) {
            if (info.suffix().compare(QLatin1String("wav"), Qt::CaseInsensitive) != 0)
                continue;
            const QResource resource(info.absoluteFilePath());
            const QByteArray bytes = resource.uncompressedData();
            if (!bytes.isEmpty())
                found.emplace(lowerAscii(info.completeBaseName().toStdString()), bytes);
        }
        return found;
    }();
    return sounds;
}

}  // namespace

QByteArray soundCueData(std::string_view name) {
    const auto& sounds = builtinSounds();
    const auto it = sounds.find(lowerAscii(name));
    return it == sounds.end() ? QByteArray() : it->second;
}

void PlaySoundCue(const platform::Settings& settings, std::string_view name,
                  platform::SoundOutput& output) {
    if (!settings.readBool("Form", "Waveplay", true))
        return;
    const QByteArray wave = soundCueData(name);
    if (!wave.isEmpty())
        output.playCue(wave);
}

void PlaySoundFile(const std::filesystem::path& path, platform::SoundOutput& output) {
    output.playFile(path);
}

}  // namespace hinagiku::core

#pragma once

#include <QImage>
#include <QString>
#include <QWidget>

#include "schedule/ui/error_question.h"

class QIODevice;
class QLabel;
class QProgressBar;

namespace hinagiku::schedule {

// A small borderless window that decodes or encodes one JPEG picture while
// showing its progress, for the diary and the memo windows. The caller
// creates it, sets the mode (and, for a decode nobody needs to see, the
// do-not-show flag), runs the codec, takes the result and closes it; it
// frees itself when closed. Callers that decode hold the JPEG-busy flag
// meanwhile (platform::JpegBusyGuard), or use decodeWithProgress.
class JpegProgressWindow : public QWidget {
    Q_OBJECT
  public:
    enum class Mode { Decode, Encode };
    static constexpr int kQuality = 100;

    explicit JpegProgressWindow(QWidget* parent = nullptr);
    ~JpegProgressWindow() override;

    void setMode(Mode mode) { mode_ = mode; }
    Mode mode() const { return mode_; }
    // Work without being shown.
    void setUnseen(bool unseen) { unseen_ = unseen; }
    bool unseen() const { return unseen_; }
    // How coding errors are put to the user (an error box by default).
    void setErrorQuestion(ErrorQuestion question) { question_ = std::move(question); }

    // Decode mode: reads the whole stream and decodes it into picture().
    // False when there is no picture (an error, or the user stopped).
    bool decode(QIODevice& stream);
    bool decodeFile(const QString& path);
    // The decoded picture (the picture holder).
    const QImage& picture() const { return picture_; }

    // Encode mode: writes `image` as JPEG (quality 100) to the stream, or
    // replaces the file as a whole. False when nothing was written.
    bool encode(const QImage& image, QIODevice& stream);
    bool encodeFile(const QImage& image, const QString& path);

    // The codec's message of the last failure; empty after a success.
    const QString& errorText() const { return errorText_; }
    QString statusText() const;
    int progressValue() const;
    QString versionText() const;

    // Decodes `path` through a window of its own (unseen when `visible` is
    // false), holding the JPEG-busy flag; a null picture when it could not.
    static QImage decodeWithProgress(const QString& path, QWidget* parent = nullptr,
                                     bool visible = true, const ErrorQuestion& question = {});
    // Encodes `image` into `path` through a window of its own.
    static bool encodeWithProgress(const QImage& image, const QString& path,
                                   QWidget* parent = nullptr, const ErrorQuestion& question = {});

  private:
    void begin();
    void end();
    bool report(int percent);
    bool ask(const QString& message);
    bool decodeBytes(const QByteArray& bytes);
    bool encodeBytes(const QImage& image, QByteArray& out);

    Mode mode_ = Mode::Decode;
    bool unseen_ = false;
    bool cursorSet_ = false;
    QImage picture_;
    QString errorText_;
    ErrorQuestion question_;
    QLabel* product_;
    QLabel* version_;
    QProgressBar* progress_;
    QLabel* status_;
};

}  // namespace hinagiku::schedule

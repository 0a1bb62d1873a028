#include "tools/ui/file_associations_window.h"

#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPointer>
#include <QPushButton>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

#include <exception>

#include "core/sound_cues.h"
#include "core/ui/action_guard.h"
#include "platform/file_search.h"
#include "tools/shortcut_folder.h"
#include "tools/ui/program_chooser.h"
#include "tools/ui/tool_dialogs.h"
#include "tools/ui/window_place.h"

namespace hinagiku::tools {
namespace {

constexpr const char* kWindowHelp =
    "この関連付けは独自のもので、エクスプローラ等の関連付けとは異なります。";

QPointer<FileAssociationsWindow>& instance() {
    static QPointer<FileAssociationsWindow> window;
    return window;
}

QString qs(const std::string& text) {
    return QString::fromStdString(text);
}

bool isProgramFile(const QString& path) {
    const QFileInfo info(path);
    const QString suffix = info.suffix().toUpper();
    return suffix == QLatin1String("EXE") || suffix == QLatin1String("DESKTOP") ||
           (info.isFile() && info.isExecutable());
}

}  // namespace

FileAssociationsWindow::FileAssociationsWindow(platform::Settings& settings, QWidget* parent)
    : QWidget(parent, Qt::Window), settings_(settings) {
    setWindowTitle(QStringLiteral("関連付けの設定"));
    setAttribute(Qt::WA_DeleteOnClose);
    setAcceptDrops(true);
    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    list_ = new QListWidget(this);
    top->addWidget(list_, 1);
    auto* right = new QVBoxLayout;
    auto* extensionLabel = new QLabel(QStringLiteral("拡張子（.ｅｘｔ）："), this);
    extension_ = new QLineEdit(this);
    extension_->setToolTip(QStringLiteral("大文字・小文字は区別しません"));
    right->addWidget(extensionLabel);
    right->addWidget(extension_);
    save_ = new QPushButton(QStringLiteral("&Save"), this);
    delete_ = new QPushButton(QStringLiteral("削除"), this);
    right->addWidget(save_);
    right->addWidget(delete_);
    right->addStretch();
    top->addLayout(right);
    layout->addLayout(top);

    auto* programGroup = new QGroupBox(QStringLiteral("関連付けにより起動するアプリ"), this);
    auto* programRow = new QHBoxLayout(programGroup);
    program_ = new QLineEdit(programGroup);
    programBrowse_ = new QToolButton(programGroup);
    programBrowse_->setText(QStringLiteral("..."));
    programBrowse_->setToolTip(QStringLiteral("ﾃﾞｨﾚｸﾄﾘ選択"));
    programRow->addWidget(program_);
    programRow->addWidget(programBrowse_);
    layout->addWidget(programGroup);

    auto* defaultGroup =
        new QGroupBox(QStringLiteral("関連付けされていない場合に起動するアプリ"), this);
    auto* defaultRow = new QHBoxLayout(defaultGroup);
    default_ = new QLineEdit(defaultGroup);
    defaultBrowse_ = new QToolButton(defaultGroup);
    defaultBrowse_->setText(QStringLiteral("..."));
    defaultBrowse_->setToolTip(QStringLiteral("ﾃﾞｨﾚｸﾄﾘ選択"));
    defaultRow->addWidget(default_);
    defaultRow->addWidget(defaultBrowse_);
    layout->addWidget(defaultGroup);

    close_ = new QPushButton(QStringLiteral("閉じる"), this);
    close_->setToolTip(QStringLiteral("保存しない場合は、窓の右上をクリックして終了"));
    layout->addWidget(close_, 0, Qt::AlignRight);
    status_ = new QLabel(QString::fromUtf8(kWindowHelp), this);
    status_->setFrameShape(QFrame::StyledPanel);
    layout->addWidget(status_);

    help(this, kWindowHelp);
    help(status_, kWindowHelp);
    help(list_, "既に設定された拡張子のリストです。");
    help(extension_, ".(ピリオド)から書き始めて拡張子を指定します。");
    help(extensionLabel, ".(ピリオド)から書き始めて拡張子を指定します。");
    help(program_, "関連付けにより起動するアプリをフルパスで設定。");
    help(programBrowse_, "関連付けにより起動するアプリを参照します。");
    help(defaultBrowse_, "関連付けにより起動するアプリを参照します。");
    help(save_, "関連付けの設定を項目に修正・追加します。");
    help(delete_, "項目から削除します。");
    help(programGroup, "メイン画面にファイルをドロップすると起動されます。");
    help(defaultGroup, "メイン画面にファイルをドロップすると起動されます。");
    help(default_, "起動するアプリをフルパスで設定。");
    help(close_, "設定を保存して終了します。");

    connect(extension_, &QLineEdit::textChanged, this,
            core::guard(this, &FileAssociationsWindow::extensionChanged));
    connect(list_, &QListWidget::currentRowChanged, this,
            core::guard(this, &FileAssociationsWindow::selectionChanged));
    connect(program_, &QLineEdit::textChanged, this,
            core::guard([this](const QString& text) { save_->setEnabled(!text.isEmpty()); }));
    connect(save_, &QPushButton::clicked, this,
            core::guard(this, &FileAssociationsWindow::saveEntry));
    connect(delete_, &QPushButton::clicked, this,
            core::guard(this, &FileAssociationsWindow::deleteEntry));
    connect(close_, &QPushButton::clicked, this,
            core::guard(this, &FileAssociationsWindow::closeAndSave));
    for (auto [button, field] :
         {std::pair{programBrowse_, program_}, std::pair{defaultBrowse_, default_}}) {
        connect(button, &QToolButton::clicked, this, core::guard([this, field = field] {
                    lower();
                    const QString chosen = chooseProgramFile(this, field->text(), false);
                    if (!chosen.isEmpty())
                        field->setText(chosen);
                }));
    }
    save_->setEnabled(false);
    delete_->setEnabled(false);
    program_->setEnabled(false);
    programBrowse_->setEnabled(false);
    resize(420, 360);
}

FileAssociationsWindow* FileAssociationsWindow::open(platform::Settings& settings) {
    QPointer<FileAssociationsWindow>& window = instance();
    if (window) {
        bringToFront(window);
        return window;
    }
    window = new FileAssociationsWindow(settings);
    restorePlace(window, settings, "Ext_Form");
    window->show();
    return window;
}

bool FileAssociationsWindow::isOpen() {
    return !instance().isNull();
}

void FileAssociationsWindow::help(QWidget* widget, const char* text) {
    widget->setProperty("statusHelp", QString::fromUtf8(text));
    widget->installEventFilter(this);
}

bool FileAssociationsWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Enter) {
        const QVariant text = watched->property("statusHelp");
        if (text.isValid())
            status_->setText(text.toString());
    }
    return QWidget::eventFilter(watched, event);
}

void FileAssociationsWindow::extensionChanged() {
    if (updating_ > 0)
        return;
    ++updating_;
    list_->setCurrentRow(-1);
    delete_->setEnabled(false);
    const std::string wanted = extension_->text().toLower().toStdString();
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        if (rows_[i].extension == wanted) {
            list_->setCurrentRow(static_cast<int>(i));
            --updating_;
            selectionChanged();
            ++updating_;
            break;
        }
    }
    const QString text = extension_->text();
    const bool usable = text.size() >= 2 && text.front() == QLatin1Char('.');
    program_->setEnabled(usable);
    programBrowse_->setEnabled(usable);
    --updating_;
}

void FileAssociationsWindow::selectionChanged() {
    if (updating_ > 0)
        return;
    const int row = list_->currentRow();
    if (row < 0 || row >= static_cast<int>(rows_.size())) {
        delete_->setEnabled(false);
        return;
    }
    ++updating_;
    const Association& entry = rows_[static_cast<std::size_t>(row)];
    extension_->setText(qs(entry.extension));
    program_->setText(qs(entry.command));
    const bool usable = entry.extension.size() >= 2;
    program_->setEnabled(usable);
    programBrowse_->setEnabled(usable);
    delete_->setEnabled(true);
    --updating_;
}

void FileAssociationsWindow::saveEntry() {
    const std::string extension = extension_->text().toStdString();
    const std::string command = program_->text().toStdString();
    if (const auto problem = extensionProblem(extension)) {
        toolDialogs().warn(this, qs(*problem), {});
        return;
    }
    if (const auto problem = commandProblem(command)) {
        toolDialogs().warn(this, qs(*problem), {});
        return;
    }
    core::PlaySoundCue(settings_, "sav");
    const std::string lower = extension_->text().toLower().toStdString();
    bool found = false;
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        if (rows_[i].extension == lower) {
            rows_[i] = {extension, command};
            list_->item(static_cast<int>(i))->setText(qs(extension));
            found = true;
            break;
        }
    }
    if (!found) {
        rows_.push_back({lower, command});
        list_->addItem(qs(lower));
    }
    extension_->clear();
    program_->clear();
    list_->setCurrentRow(-1);
    save_->setEnabled(false);
    delete_->setEnabled(false);
}

void FileAssociationsWindow::deleteEntry() {
    const int row = list_->currentRow();
    if (row < 0 || row >= static_cast<int>(rows_.size()))
        return;
    core::PlaySoundCue(settings_, "del");
    rows_.erase(rows_.begin() + row);
    ++updating_;
    delete list_->takeItem(row);
    list_->setCurrentRow(-1);
    --updating_;
    delete_->setEnabled(false);
}

void FileAssociationsWindow::closeAndSave() {
    const std::string fallback = default_->text().toStdString();
    if (const auto problem = commandProblem(fallback)) {
        toolDialogs().warn(this, qs(*problem), {});
        return;
    }
    saveAssociations(settings_, rows_, fallback);
    close();
}

void FileAssociationsWindow::dropFiles(const QStringList& paths) {
    try {
        for (const QString& path : paths) {
            if (isProgramFile(path)) {
                program_->setEnabled(true);
                program_->setText(QFileInfo(path).absoluteFilePath());
            } else {
                const std::string name = QFileInfo(path).fileName().toStdString();
                const std::string_view extension = fileExtension(name);
                if (!extension.empty())
                    extension_->setText(qs(std::string(extension)));
            }
        }
    } catch (const std::exception&) {
        toolDialogs().warn(this, qs(std::string(kDropFailure)), {});
    }
}

void FileAssociationsWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (shown_)
        return;
    shown_ = true;
    core::PlaySoundCue(settings_, "ope");
    default_->setText(qs(defaultAssociation(settings_)));
    rows_ = readAssociations(settings_);
    ++updating_;
    list_->clear();
    for (const Association& row : rows_)
        list_->addItem(qs(row.extension));
    list_->setCurrentRow(-1);
    --updating_;
    extension_->setFocus();
}

void FileAssociationsWindow::closeEvent(QCloseEvent* event) {
    storePlace(this, settings_, "Ext_Form");
    core::PlaySoundCue(settings_, "clo");
    event->accept();
}

void FileAssociationsWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void FileAssociationsWindow::dropEvent(QDropEvent* event) {
    QStringList paths;
    for (const QUrl& url : event->mimeData()->urls()) {
        if (url.isLocalFile())
            paths << url.toLocalFile();
    }
    event->acceptProposedAction();
    dropFiles(paths);
}

}  // namespace hinagiku::tools

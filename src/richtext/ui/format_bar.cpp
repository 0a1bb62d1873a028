#include "richtext/ui/format_bar.h"

#include <QButtonGroup>
#include <QColorDialog>
#include <QComboBox>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPainter>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextList>
#include <QToolButton>

#include "mainwindow/ui/color_value.h"

namespace hinagiku::richtext::ui {
namespace {

QToolButton* makeButton(QWidget* parent, const QString& text, const QString& hint, bool checkable) {
    auto* button = new QToolButton(parent);
    button->setText(text);
    button->setToolTip(hint);
    button->setCheckable(checkable);
    button->setAutoRaise(true);
    button->setFixedSize(22, 22);
    return button;
}

QIcon swatchIcon(const QColor& color) {
    QPixmap pixmap(14, 14);
    pixmap.fill(color);
    QPainter painter(&pixmap);
    painter.setPen(Qt::gray);
    painter.drawRect(0, 0, 13, 13);
    return QIcon(pixmap);
}

QString familyOf(const QTextCharFormat& format, const QFont& fallback) {
    const QVariant families = format.property(QTextFormat::FontFamilies);
    if (families.isValid() && !families.toStringList().isEmpty())
        return families.toStringList().front();
    if (format.hasProperty(QTextFormat::FontFamily))
        return format.stringProperty(QTextFormat::FontFamily);
    return fallback.family();
}

}  // namespace

FormatBar::FormatBar(QTextEdit* editor, platform::Settings& settings, Options options,
                     QWidget* parent)
    : QWidget(parent), editor_(editor), settings_(settings), history_(settings) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(1);

    font_ = new QComboBox(this);
    font_->setEditable(true);
    font_->setInsertPolicy(QComboBox::NoInsert);
    font_->setToolTip(QStringLiteral("文字の種類を指定"));
    QStringList families = QFontDatabase::families();
    families.sort();
    font_->addItems(families);
    font_->setMinimumContentsLength(10);
    font_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    layout->addWidget(font_);
    connect(font_, &QComboBox::activated, this,
            [this](int index) { applyFamily(font_->itemText(index)); });
    connect(font_->lineEdit(), &QLineEdit::returnPressed, this,
            [this] { applyFamily(font_->currentText()); });

    size_ = new QSpinBox(this);
    size_->setRange(1, 999);
    size_->setToolTip(QStringLiteral("文字のサイズを指定"));
    layout->addWidget(size_);
    connect(size_, &QSpinBox::valueChanged, this, [this](int points) { applySize(points); });

    bold_ = makeButton(this, QStringLiteral("B"), QStringLiteral("太字"), true);
    italic_ = makeButton(this, QStringLiteral("I"), QStringLiteral("斜体"), true);
    underline_ = makeButton(this, QStringLiteral("U"), QStringLiteral("下線"), true);
    strike_ = makeButton(this, QStringLiteral("S"), QStringLiteral("消し線"), true);
    QFont f = bold_->font();
    f.setBold(true);
    bold_->setFont(f);
    f = italic_->font();
    f.setItalic(true);
    italic_->setFont(f);
    f = underline_->font();
    f.setUnderline(true);
    underline_->setFont(f);
    f = strike_->font();
    f.setStrikeOut(true);
    strike_->setFont(f);
    for (QToolButton* button : {bold_, italic_, underline_, strike_})
        layout->addWidget(button);
    connect(bold_, &QToolButton::clicked, this, &FormatBar::applyBold);
    connect(italic_, &QToolButton::clicked, this, &FormatBar::applyItalic);
    connect(underline_, &QToolButton::clicked, this, &FormatBar::applyUnderline);
    connect(strike_, &QToolButton::clicked, this, &FormatBar::applyStrikeOut);

    color_ = makeButton(this, QStringLiteral("A"), QStringLiteral("文字の色を指定"), false);
    layout->addWidget(color_);
    connect(color_, &QToolButton::clicked, this, &FormatBar::chooseColor);
    for (int i = 0; i < ColorHistory::kSize; ++i) {
        auto* swatch = makeButton(this, {}, QStringLiteral("色選択の履歴"), false);
        swatch->setFixedSize(16, 22);
        swatches_[static_cast<std::size_t>(i)] = swatch;
        layout->addWidget(swatch);
        connect(swatch, &QToolButton::clicked, this, [this, i] { applySwatch(i); });
    }

    bullet_ = makeButton(this, QStringLiteral("•"), QStringLiteral("箇条書き"), true);
    layout->addWidget(bullet_);
    connect(bullet_, &QToolButton::clicked, this, &FormatBar::applyBullet);

    if (options.alignment) {
        auto* group = new QButtonGroup(this);
        const std::array<std::pair<Qt::Alignment, QString>, 3> aligns{{
            {Qt::AlignLeft, QStringLiteral("左揃え")},
            {Qt::AlignHCenter, QStringLiteral("中央揃え")},
            {Qt::AlignRight, QStringLiteral("右揃え")},
        }};
        const std::array<QString, 3> glyphs{QStringLiteral("≡"), QStringLiteral("≣"),
                                            QStringLiteral("☰")};
        for (std::size_t i = 0; i < aligns.size(); ++i) {
            auto* button = makeButton(this, glyphs[i], aligns[i].second, true);
            group->addButton(button);
            align_[i] = button;
            layout->addWidget(button);
            const Qt::Alignment alignment = aligns[i].first;
            connect(button, &QToolButton::clicked, this,
                    [this, alignment] { applyAlignment(alignment); });
        }
        group->setExclusive(true);
    }
    layout->addStretch(1);

    chooser_ = [](const QColor& initial, QWidget* parent) -> std::optional<QColor> {
        const QColor color = QColorDialog::getColor(initial, parent);
        if (!color.isValid())
            return std::nullopt;
        return color;
    };
    connect(editor_, &QTextEdit::cursorPositionChanged, this, &FormatBar::refresh);
    connect(editor_, &QTextEdit::currentCharFormatChanged, this, &FormatBar::refresh);
    reloadHistory();
    refresh();
}

QToolButton* FormatBar::alignButton(Qt::Alignment alignment) const {
    if (alignment & Qt::AlignHCenter)
        return align_[1];
    if (alignment & Qt::AlignRight)
        return align_[2];
    return align_[0];
}

void FormatBar::refresh() {
    refreshing_ = true;
    const QSignalBlocker b1(font_), b2(size_), b3(bold_), b4(italic_), b5(underline_), b6(strike_),
        b7(bullet_);
    const QTextCharFormat format = editor_->currentCharFormat();
    const QFont defaults = editor_->document()->defaultFont();
    const QString family = familyOf(format, defaults);
    const int index = font_->findText(family, Qt::MatchFixedString);
    if (index >= 0)
        font_->setCurrentIndex(index);
    // A font that is not installed keeps its name in the box.
    font_->setEditText(family);
    const double points =
        format.hasProperty(QTextFormat::FontPointSize) && format.fontPointSize() > 0
            ? format.fontPointSize()
            : defaults.pointSizeF();
    size_->setValue(static_cast<int>(std::lround(points)));
    bold_->setChecked(format.hasProperty(QTextFormat::FontWeight)
                          ? format.fontWeight() >= QFont::DemiBold
                          : defaults.bold());
    italic_->setChecked(format.hasProperty(QTextFormat::FontItalic) ? format.fontItalic()
                                                                    : defaults.italic());
    underline_->setChecked(format.hasProperty(QTextFormat::TextUnderlineStyle)
                               ? format.fontUnderline()
                               : defaults.underline());
    strike_->setChecked(format.hasProperty(QTextFormat::FontStrikeOut) ? format.fontStrikeOut()
                                                                       : defaults.strikeOut());
    const QTextCursor cursor = editor_->textCursor();
    bullet_->setChecked(cursor.currentList() != nullptr);
    if (align_[0] != nullptr) {
        const Qt::Alignment alignment = cursor.blockFormat().alignment();
        for (QToolButton* button : align_) {
            const QSignalBlocker blocker(button);
            button->setChecked(button == alignButton(alignment));
        }
    }
    refreshing_ = false;
}

void FormatBar::reloadHistory() {
    const auto colors = history_.read();
    for (std::size_t i = 0; i < colors.size(); ++i) {
        const QColor color = mainwindow::colorFromValue(colors[i], palette());
        swatches_[i]->setIcon(swatchIcon(color));
        swatches_[i]->setProperty("colorValue", colors[i]);
    }
}

void FormatBar::mergeFormat(const QTextCharFormat& format,
                            const std::function<void(QFont&)>& toDefault) {
    if (refreshing_)
        return;
    QTextCursor cursor = editor_->textCursor();
    if (cursor.hasSelection()) {
        cursor.mergeCharFormat(format);
    } else {
        QTextDocument* document = editor_->document();
        QFont font = document->defaultFont();
        toDefault(font);
        document->setDefaultFont(font);
        editor_->mergeCurrentCharFormat(format);
    }
    emit formatApplied();
    refresh();
}

void FormatBar::applyFamily(const QString& family) {
    if (family.trimmed().isEmpty())
        return;
    QTextCharFormat format;
    format.setFontFamilies({family});
    mergeFormat(format, [&](QFont& font) { font.setFamilies({family}); });
}

void FormatBar::applySize(int points) {
    QTextCharFormat format;
    format.setFontPointSize(points);
    mergeFormat(format, [&](QFont& font) { font.setPointSize(points); });
}

void FormatBar::applyBold(bool on) {
    QTextCharFormat format;
    format.setFontWeight(on ? QFont::Bold : QFont::Normal);
    mergeFormat(format, [&](QFont& font) { font.setBold(on); });
}

void FormatBar::applyItalic(bool on) {
    QTextCharFormat format;
    format.setFontItalic(on);
    mergeFormat(format, [&](QFont& font) { font.setItalic(on); });
}

void FormatBar::applyUnderline(bool on) {
    QTextCharFormat format;
    format.setFontUnderline(on);
    mergeFormat(format, [&](QFont& font) { font.setUnderline(on); });
}

void FormatBar::applyStrikeOut(bool on) {
    QTextCharFormat format;
    format.setFontStrikeOut(on);
    mergeFormat(format, [&](QFont& font) { font.setStrikeOut(on); });
}

void FormatBar::applyColor(const QColor& color) {
    if (refreshing_)
        return;
    QTextCursor cursor = editor_->textCursor();
    if (cursor.hasSelection()) {
        QTextCharFormat format;
        format.setForeground(color);
        cursor.mergeCharFormat(format);
    } else {
        QPalette palette = editor_->palette();
        palette.setColor(QPalette::Text, color);
        editor_->setPalette(palette);
        emit defaultColorChanged(color);
    }
    emit formatApplied();
}

QColor FormatBar::colorAtSelection() const {
    const QTextCharFormat format = editor_->currentCharFormat();
    if (format.hasProperty(QTextFormat::ForegroundBrush) &&
        format.foreground().style() != Qt::NoBrush)
        return format.foreground().color();
    return editor_->palette().color(QPalette::Text);
}

void FormatBar::chooseColor() {
    // A cancelled dialog changes nothing.
    const std::optional<QColor> color = chooser_(colorAtSelection(), window());
    if (!color)
        return;
    applyColor(*color);
    history_.push(mainwindow::valueFromColor(*color));
    reloadHistory();
}

void FormatBar::applySwatch(int index) {
    const auto colors = history_.read();
    applyColor(mainwindow::colorFromValue(colors[static_cast<std::size_t>(index)], palette()));
}

void FormatBar::applyBullet(bool on) {
    if (refreshing_)
        return;
    QTextCursor cursor = editor_->textCursor();
    cursor.beginEditBlock();
    if (on) {
        QTextListFormat list;
        list.setStyle(QTextListFormat::ListDisc);
        cursor.createList(list);
    } else if (QTextList* list = cursor.currentList()) {
        const int first = cursor.selectionStart();
        const int last = cursor.selectionEnd();
        QTextBlock block = editor_->document()->findBlock(first);
        while (block.isValid() && block.position() <= last) {
            if (QTextList* own = block.textList())
                own->remove(block);
            QTextBlockFormat format = block.blockFormat();
            format.setIndent(0);
            QTextCursor(block).setBlockFormat(format);
            block = block.next();
        }
        (void)list;
    }
    cursor.endEditBlock();
    emit formatApplied();
    refresh();
}

void FormatBar::applyAlignment(Qt::Alignment alignment) {
    if (refreshing_)
        return;
    QTextBlockFormat format;
    format.setAlignment(alignment);
    editor_->textCursor().mergeBlockFormat(format);
    emit formatApplied();
    refresh();
}

}  // namespace hinagiku::richtext::ui

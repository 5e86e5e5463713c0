#include "qt/screen_window.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QWindow>
#include <algorithm>
#include <utility>

#include "qt/clickable_label.h"

namespace vespar::qt {

namespace {

QString Latin1(const std::string& s) { return QString::fromLatin1(s.c_str()); }

QColor ToQColor(const Color& c, const QPalette& palette) {
    switch (c.kind) {
        case Color::Kind::ButtonFace:
            return palette.color(QPalette::Button);
        case Color::Kind::ButtonText:
            return palette.color(QPalette::ButtonText);
        case Color::Kind::WindowBackground:
            return palette.color(QPalette::Window);
        case Color::Kind::Rgb:
            break;
    }
    return QColor(c.r, c.g, c.b);
}

// The size a plain-text label needs for its text, measured as the label measures it, once.
QSize TextSize(const QLabel* label) {
    const QRect text =
        label->fontMetrics().boundingRect(QRect(0, 0, QWIDGETSIZE_MAX, QWIDGETSIZE_MAX),
                                          Qt::AlignLeft | Qt::TextExpandTabs, label->text());
    const QMargins margins = label->contentsMargins();
    const int margin = 2 * label->margin();
    return {text.width() + margin + margins.left() + margins.right(),
            text.height() + margin + margins.top() + margins.bottom()};
}

// The lines of a label's text; 0 for none, which takes no height.
int Rows(const QString& text) {
    return text.isEmpty() ? 0 : static_cast<int>(text.count('\n')) + 1;
}

// A label named after its control. Captions carry texts from files and the web site, never
// markup, so they are drawn as plain text.
void NameLabel(QLabel* label, const std::string& name) {
    label->setObjectName(Latin1(name));
    label->setTextFormat(Qt::PlainText);
}

void ApplyCommon(QWidget* w, const ControlChange& change) {
    const Control& c = change.now;
    if (change.Differs(&Control::tooltip)) w->setToolTip(Latin1(c.tooltip));
    w->setEnabled(c.enabled);
    w->setVisible(c.visible);
}

}  // namespace

ScreenWindow::ScreenWindow(ScreenModel& model, EventSink sink)
    : model_(model), sink_(std::move(sink)) {
    setObjectName(Latin1(model.name()));
}

QLabel* ScreenWindow::AddLabel(QBoxLayout* layout, const std::string& name) {
    QLabel* label = NewLabel(name);
    layout->addWidget(label);
    return label;
}

ClickableLabel* ScreenWindow::AddLink(QBoxLayout* layout, const std::string& name) {
    ClickableLabel* label = NewLink(name);
    layout->addWidget(label);
    return label;
}

QPushButton* ScreenWindow::AddButton(QBoxLayout* layout, const std::string& name) {
    QPushButton* button = NewButton(name);
    layout->addWidget(button);
    return button;
}

QComboBox* ScreenWindow::AddList(QBoxLayout* layout, const std::string& name) {
    QComboBox* list = NewList(name);
    layout->addWidget(list);
    return list;
}

QLabel* ScreenWindow::NewLabel(const std::string& name) {
    auto* label = new QLabel(this);  // owned by this window
    NameLabel(label, name);
    label->setAutoFillBackground(true);
    labels_[name].widget = label;
    return label;
}

ClickableLabel* ScreenWindow::NewLink(const std::string& name) {
    auto* label = new ClickableLabel(this);  // owned by this window
    NameLabel(label, name);
    labels_[name].widget = label;
    connect(label, &ClickableLabel::clicked, this,
            [this, name] { sink_([this, name] { model_.Click(name); }); });
    return label;
}

QPushButton* ScreenWindow::NewButton(const std::string& name) {
    auto* button = new QPushButton(this);  // owned by this window
    button->setObjectName(Latin1(name));
    buttons_[name].widget = button;
    connect(button, &QPushButton::clicked, this,
            [this, name] { sink_([this, name] { model_.Click(name); }); });
    return button;
}

QComboBox* ScreenWindow::NewList(const std::string& name) {
    auto* list = new QComboBox(this);  // owned by this window
    list->setObjectName(Latin1(name));
    Entry<QComboBox>& entry = lists_[name];
    entry.widget = list;
    connect(list, &QComboBox::activated, this, [this, name, &entry](int index) {
        entry.drawn.Forget();  // the widget no longer shows the model; the model may say no
        sink_([this, name, index] {
            model_.control(name).selection = index;
            model_.Click(name);
        });
    });
    return list;
}

QLineEdit* ScreenWindow::NewTextBox(const std::string& name) {
    auto* box = new QLineEdit(this);  // owned by this window
    box->setObjectName(Latin1(name));
    Entry<QLineEdit>& entry = textBoxes_[name];
    entry.widget = box;
    // Only the user's edits: text set from the model raises no event.
    connect(box, &QLineEdit::textEdited, this, [this, name, &entry](const QString& text) {
        entry.drawn.Forget();  // the widget no longer shows the model
        sink_([this, name, text = text.toLatin1().toStdString()] {
            model_.control(name).caption = text;
        });
    });
    return box;
}

QCheckBox* ScreenWindow::NewCheckBox(const std::string& name) {
    auto* box = new QCheckBox(this);  // owned by this window
    box->setObjectName(Latin1(name));
    Entry<QCheckBox>& entry = checkBoxes_[name];
    entry.widget = box;
    connect(box, &QCheckBox::clicked, this, [this, name, &entry](bool checked) {
        entry.drawn.Forget();  // the widget no longer shows the model; the model may say no
        sink_([this, name, checked] {
            model_.control(name).value = checked ? 1 : 0;
            model_.Click(name);
        });
    });
    return box;
}

QLineEdit* ScreenWindow::AddFocusBox(QBoxLayout* layout, const std::string& name) {
    auto* box = new QLineEdit(this);  // owned by this window
    box->setObjectName(Latin1(name));
    box->setFrame(false);
    box->setFixedSize(1, 1);
    layout->addWidget(box);
    others_[name] = box;
    return box;
}

QWidget* ScreenWindow::widget(const std::string& name) const {
    if (auto it = labels_.find(name); it != labels_.end()) return it->second.widget;
    if (auto it = buttons_.find(name); it != buttons_.end()) return it->second.widget;
    if (auto it = lists_.find(name); it != lists_.end()) return it->second.widget;
    if (auto it = textBoxes_.find(name); it != textBoxes_.end()) return it->second.widget;
    if (auto it = checkBoxes_.find(name); it != checkBoxes_.end()) return it->second.widget;
    if (auto it = others_.find(name); it != others_.end()) return it->second;
    return nullptr;
}

void ScreenWindow::HoldLines(QBoxLayout* column, std::initializer_list<QLabel*> lines,
                             int minimumWidth) {
    linesColumn_ = column;
    linesWidth_ = minimumWidth;
    for (QLabel* label : lines) {
        lines_.push_back({label, {}, {}, -1, {}});
        Remeasure(lines_.back());
    }
    FitLines();
}

bool ScreenWindow::Remeasure(Line& line) {
    const QLabel* label = line.label;
    const QString text = label->text();
    const QMargins margins = label->contentsMargins();
    const int frame = 2 * label->margin() + margins.left() + margins.right();
    if (label->font() == line.font && Rows(text) == line.rows &&
        line.bound.Of(line.font, text) + frame <= linesWidth_) {
        return false;
    }
    line.text = TextSize(label);
    line.font = label->font();
    line.rows = Rows(text);
    return true;
}

void ScreenWindow::FitLines() {
    for (const Line& line : lines_) linesWidth_ = std::max(linesWidth_, line.text.width());
    for (const Line& line : lines_) {
        const QSize size(linesWidth_, line.text.height());
        if (line.label->minimumSize() != size || line.label->maximumSize() != size)
            line.label->setFixedSize(size);
    }
}

void ScreenWindow::NotDrawn(std::initializer_list<const char*> names) {
    notDrawn_.insert(names.begin(), names.end());
}

std::set<std::string> ScreenWindow::Drawn() const {
    std::set<std::string> drawn;
    for (const auto& entry : labels_) drawn.insert(entry.first);
    for (const auto& entry : buttons_) drawn.insert(entry.first);
    for (const auto& entry : others_) drawn.insert(entry.first);
    for (const auto& entry : lists_) drawn.insert(entry.first);
    for (const auto& entry : textBoxes_) drawn.insert(entry.first);
    for (const auto& entry : checkBoxes_) drawn.insert(entry.first);
    return drawn;
}

void ScreenWindow::Refresh() {
    if ((isVisible() || ShownByModel()) && drawn_.Due(model_)) RefreshControls();
    ApplyWindowState();
}

void ScreenWindow::RefreshControls() {
    bool linesChanged = false;
    for (auto& [name, entry] : labels_) {
        const auto change = entry.drawn.Redraw(model_, name);
        if (!change) continue;
        const Control& c = change->now;
        auto* label = entry.widget;
        // A picture label keeps its picture; only a caption replaces it.
        if (change->Differs(&Control::caption) &&
            (!c.caption.empty() || label->pixmap().isNull())) {
            QString text = Latin1(c.caption);
            text.replace("\r\n", "\n");
            label->setText(text);
        }
        ApplyCommon(label, *change);
        if (change->Differs(&Control::foreColor) || change->Differs(&Control::backColor)) {
            QPalette p = label->palette();
            p.setColor(QPalette::WindowText, ToQColor(c.foreColor, palette()));
            p.setColor(QPalette::Window, ToQColor(c.backColor, palette()));
            label->setPalette(p);
        }
        if (label->font().bold() != c.bold) {
            QFont f = label->font();
            f.setBold(c.bold);
            label->setFont(f);
        }
        for (Line& line : lines_) {
            if (line.label == label && Remeasure(line)) linesChanged = true;
        }
    }
    if (linesChanged) FitLines();
    for (auto& [name, entry] : buttons_) {
        const auto change = entry.drawn.Redraw(model_, name);
        if (!change) continue;
        const Control& c = change->now;
        auto* button = entry.widget;
        if (change->Differs(&Control::caption)) button->setText(Latin1(c.caption));
        ApplyCommon(button, *change);
    }
    for (auto& [name, entry] : lists_) {
        const auto change = entry.drawn.Redraw(model_, name);
        if (!change) continue;
        const Control& c = change->now;
        auto* list = entry.widget;
        // Setting the list from the model is not the user's choice.
        const QSignalBlocker blocker(list);
        QStringList items;
        for (const std::string& item : c.items) items << Latin1(item);
        QStringList shown;
        for (int i = 0; i < list->count(); ++i) shown << list->itemText(i);
        if (items != shown) {
            list->clear();
            list->addItems(items);
        }
        list->setCurrentIndex(c.selection);
        ApplyCommon(list, *change);
    }
    for (auto& [name, entry] : textBoxes_) {
        const auto change = entry.drawn.Redraw(model_, name);
        if (!change) continue;
        const Control& c = change->now;
        auto* box = entry.widget;
        // Rewriting an unchanged text would move the cursor under the user's hands.
        if (const QString text = Latin1(c.caption); box->text() != text) box->setText(text);
        ApplyCommon(box, *change);
    }
    for (auto& [name, entry] : checkBoxes_) {
        const auto change = entry.drawn.Redraw(model_, name);
        if (!change) continue;
        const Control& c = change->now;
        auto* box = entry.widget;
        const QSignalBlocker blocker(box);
        box->setChecked(c.value == 1);
        ApplyCommon(box, *change);
    }
}

void ScreenWindow::SetWindowHint(Qt::WindowType hint, bool on) {
    if (windowFlags().testFlag(hint) == on) return;
    const Qt::WindowFlags flags = on ? windowFlags() | hint : windowFlags() & ~hint;
    // Only the native window is told: setWindowFlags would re-create it, and a re-created
    // window loses the keyboard focus, may be activated by the window manager and ends up
    // under the others.
    overrideWindowFlags(flags);
    if (QWindow* native = windowHandle()) native->setFlags(flags);
}

void ScreenWindow::SetTitle(const std::string& caption) {
    // Qt re-announces even an unchanged empty title to the window and its native peer.
    if (caption == title_) return;
    title_ = caption;
    setWindowTitle(Latin1(caption));
}

void ScreenWindow::ApplyWindowState() {
    SetTitle(model_.caption);
    // A window raised above the others during a warning must not take the focus away.
    setAttribute(Qt::WA_ShowWithoutActivating, model_.topmost);
    SetWindowHint(Qt::WindowStaysOnTopHint, model_.topmost);
    if (model_.visible && !isVisible()) show();
    if (!model_.visible && isVisible()) hide();
}

void ScreenWindow::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        // Activation is a model event too (the main window re-applies its rules there).
        sink_([this] { model_.Click(ScreenModel::kActivateEvent); });
    }
    QWidget::changeEvent(event);
}

void ScreenWindow::resizeEvent(QResizeEvent* event) {
    // The layout has placed the column already: wider than the lines, they fill it.
    if (linesColumn_ && linesColumn_->geometry().width() > linesWidth_) {
        linesWidth_ = linesColumn_->geometry().width();
        FitLines();
    }
    QWidget::resizeEvent(event);
}

void ScreenWindow::closeEvent(QCloseEvent* event) {
    // The model decides whether the window may close (it ends the program when it does).
    event->ignore();
    sink_([this] { model_.Click(ScreenModel::kCloseEvent); });
}

}  // namespace vespar::qt

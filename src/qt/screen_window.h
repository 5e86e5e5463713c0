#pragma once

#include <QBoxLayout>
#include <QWidget>
#include <functional>
#include <initializer_list>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "qt/width_bound.h"
#include "ui/drawn_control.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace vespar::qt {

class ClickableLabel;

// Draws a screen model with Qt widgets and turns widget events into model events. The owner
// calls Refresh after every event it handled.
class ScreenWindow : public QWidget {
  public:
    using EventSink = std::function<void(const std::function<void()>&)>;

    ScreenWindow(ScreenModel& model, EventSink sink);

    QLabel* AddLabel(QBoxLayout* layout, const std::string& name);
    // A label whose click is the control's click.
    ClickableLabel* AddLink(QBoxLayout* layout, const std::string& name);
    QPushButton* AddButton(QBoxLayout* layout, const std::string& name);
    // A drop-down list of the control's items; the user's choice becomes its selection.
    QComboBox* AddList(QBoxLayout* layout, const std::string& name);
    // A text box that only takes the keyboard focus.
    QLineEdit* AddFocusBox(QBoxLayout* layout, const std::string& name);
    // A widget of the window's own kind for the control, which the window fills itself.
    void AddOwn(const std::string& name, QWidget* widget) { others_[name] = widget; }

    // The same widgets, for the caller to place in any layout.
    QLabel* NewLabel(const std::string& name);
    ClickableLabel* NewLink(const std::string& name);
    QPushButton* NewButton(const std::string& name);
    QComboBox* NewList(const std::string& name);
    // A text box showing the control's caption as plain text; every edit becomes its caption.
    // A disabled one is greyed, read-only and not focusable.
    QLineEdit* NewTextBox(const std::string& name);
    // A check box for the control's value (0 clear, 1 ticked); the user's click sets the value
    // and is the control's click.
    QCheckBox* NewCheckBox(const std::string& name);

    void Refresh();
    ScreenModel& model() { return model_; }

    // Lines of a column whose text changes every second. They share one width, at least
    // minimumWidth, that grows with the widest text and with the column and never shrinks; each
    // is as tall as its text. A new text then repaints its line only, where a label that may
    // resize lays out the whole window again.
    void HoldLines(QBoxLayout* column, std::initializer_list<QLabel*> lines, int minimumWidth);

    // Declares controls of the model that this window does not draw, such as pictures another
    // part of the front-end shows; every other control must have a widget here.
    void NotDrawn(std::initializer_list<const char*> names);
    // The controls this window has widgets for, and those declared as not drawn.
    std::set<std::string> Drawn() const;
    const std::set<std::string>& notDrawn() const { return notDrawn_; }

  protected:
    // Caption, window level and visibility; windows with more states override it.
    virtual void ApplyWindowState();
    // Whether ApplyWindowState will leave the window on screen: a hidden window is drawn only
    // when it is about to be shown.
    virtual bool ShownByModel() const { return model_.visible; }
    // Sets the window title when it differs from the one shown.
    void SetTitle(const std::string& caption);
    // Sets or clears a window hint; a shown window stays shown.
    void SetWindowHint(Qt::WindowType hint, bool on);
    void Send(std::function<void()> event) { sink_(event); }
    QWidget* widget(const std::string& name) const;

    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    // A widget and what it shows of its control.
    template <typename W>
    struct Entry {
        W* widget = nullptr;
        DrawnControl drawn;
    };
    template <typename W>
    using Entries = std::map<std::string, Entry<W>>;

    void RefreshControls();
    // Gives the held lines the size their texts need.
    void FitLines();

    struct Line {
        QLabel* label;
        QSize text;    // what the label's text needed when last measured
        QFont font;    // the font it was measured in
        int rows = 0;  // its number of lines then, 0 for no text
        WidthBound bound;
    };
    // Measures a line's new text only when it may not fit (true then): a text of as many lines
    // in the same font is as tall, and one surely narrower than the lines changes nothing.
    bool Remeasure(Line& line);

    ScreenModel& model_;
    DrawnScreen drawn_;  // whether the model changed since its controls were drawn
    EventSink sink_;
    Entries<QLabel> labels_;
    Entries<QPushButton> buttons_;
    Entries<QComboBox> lists_;
    Entries<QLineEdit> textBoxes_;
    Entries<QCheckBox> checkBoxes_;
    std::map<std::string, QWidget*> others_;
    std::string title_;  // the window title set last
    std::set<std::string> notDrawn_;
    QBoxLayout* linesColumn_ = nullptr;
    std::vector<Line> lines_;
    int linesWidth_ = 0;
};

}  // namespace vespar::qt

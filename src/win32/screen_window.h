#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "ui/drawn_control.h"
#include "win32/theme.h"
#include "win32/windows_api.h"

namespace vespar::win32 {

using EventSink = std::function<void(const std::function<void()>&)>;

// Draws a screen model as a top-level window of standard controls and turns control events
// into model events. The owner calls Refresh after every event it handled; only the controls
// whose model changed are touched.
class ScreenWindow {
  public:
    ScreenWindow(ScreenModel& model, EventSink sink, const Theme& theme, DWORD style);
    virtual ~ScreenWindow();
    ScreenWindow(const ScreenWindow&) = delete;
    ScreenWindow& operator=(const ScreenWindow&) = delete;

    // Controls for the model's named controls; the caller places them with Place. A label's
    // style gives its alignment, or SS_BITMAP or SS_ICON for a picture (see SetPicture).
    HWND NewLabel(const std::string& name, DWORD style = SS_LEFT);
    // A label whose click is the control's click (the logo, a web link).
    HWND NewLink(const std::string& name, DWORD style = SS_LEFT);
    HWND NewButton(const std::string& name);
    // A drop-down list of the control's items; the user's choice becomes its selection.
    HWND NewList(const std::string& name);
    // A text box showing the control's caption; every edit becomes its caption. A disabled
    // one is greyed, read-only and not focusable.
    HWND NewTextBox(const std::string& name);
    // A check box for the control's value (0 clear, 1 ticked); the user's click sets the value
    // and is the control's click.
    HWND NewCheckBox(const std::string& name);
    // A read-only text box showing the control's caption (CR LF breaks the lines of a
    // multi-line one).
    HWND NewReadOnlyBox(const std::string& name, bool multiline);
    // A text box that only takes the keyboard focus.
    HWND NewFocusBox(const std::string& name);
    // A control of the window's own, outside the model (a group box, a picture, a caption).
    HWND NewPlain(const char* className, const std::string& text, DWORD style);

    void Place(HWND control, int x, int y, int width, int height) const;
    // Sizes the window so that its client area is width x height.
    void SetClientSize(int width, int height) const;
    void SetBaseFont(HWND control, HFONT font);
    // The picture of a label made with SS_BITMAP or SS_ICON; it keeps it whatever its caption.
    static void SetPicture(HWND control, HBITMAP picture);
    static void SetPicture(HWND control, HICON picture);
    // Sets a small and a large icon of the window.
    void SetIcons(HICON small, HICON large) const;

    void Refresh();
    HWND hwnd() const { return hwnd_; }
    ScreenModel& model() { return model_; }
    const Theme& theme() const { return theme_; }
    // Hides the window at the program's end.
    void Hide() const { ShowWindow(hwnd_, SW_HIDE); }

  protected:
    // Caption, window level and visibility; windows with more states override it.
    virtual void ApplyWindowState();
    // Whether ApplyWindowState will leave the window on screen: a hidden window is drawn only
    // when it is about to be shown.
    virtual bool ShownByModel() const { return model_.visible; }
    // Messages a window handles beyond the common ones; true when handled.
    virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    void Send(const std::function<void()>& event) { sink_(event); }
    // The caption, and the window level set topmost or not without moving, sizing or
    // activating the window.
    void ApplyCaptionAndLevel();
    // Shows the window, active, or hides it.
    void ShowByModel();
    HWND control(const std::string& name) const;

  private:
    enum class Kind { Label, Link, Button, List, TextBox, CheckBox, Other };
    struct Item {
        std::string name;
        Kind kind;
        HWND hwnd;
        HFONT font;
        DrawnControl drawn;  // what the control shows
    };

    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    HWND Add(const std::string& name, Kind kind, const char* className, DWORD style);
    void Command(Item& item, WORD code);
    LRESULT LabelColours(HDC dc, HWND label);
    HBRUSH Brush(COLORREF colour);
    void RefreshItem(Item& item);

    ScreenModel& model_;
    DrawnScreen drawn_;  // whether the model changed since its controls were drawn
    EventSink sink_;
    const Theme& theme_;
    HWND hwnd_ = nullptr;
    HWND tooltips_ = nullptr;  // owned by the window
    std::vector<Item> items_;  // by control id - kFirstId
    std::map<COLORREF, HBRUSH> brushes_;
    HWND lastFocus_ = nullptr;
    bool setting_ = false;  // text set from the model raises no event
    std::optional<bool> topmost_;
    std::string caption_;
    bool captionSet_ = false;
};

// A system or RGB colour of the model as the screen shows it.
COLORREF ToColorRef(const Color& c);

}  // namespace vespar::win32

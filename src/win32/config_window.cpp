#include "win32/config_window.h"

#include <algorithm>
#include <string>
#include <vector>

namespace vespar::win32 {

namespace {

// One line of a group: a caption, one or more fields with their widths in characters, and a
// range label. Names the model lacks are left out.
struct Row {
    std::string caption;
    std::vector<std::pair<std::string, int>> fields;
    std::string range;
};

struct Group {
    const char* frame;
    std::vector<Row> rows;
};

// A field named like its key with "T", its caption "L" and its range label "M".
Row Field(const std::string& field, int chars = 10, const std::string& range = "") {
    const std::string stem = field.substr(0, field.size() - 1);
    return {stem + "L", {{field, chars}}, range.empty() ? stem + "M" : range};
}

class ConfigWindow : public ScreenWindow {
  public:
    ConfigWindow(ConfigScreen& config, EventSink sink, const Theme& theme,
                 const Pictures& pictures);

  protected:
    void ApplyWindowState() override {
        const bool opening = model().visible && !IsWindowVisible(hwnd());
        ScreenWindow::ApplyWindowState();
        if (opening && first_ != nullptr) SetFocus(first_);
    }

  private:
    int TextWidth(const std::string& text) const;
    // Places one column of groups at x, y; returns its width and sets bottom.
    int PlaceColumn(const std::vector<Group>& groups, int x, int y, int& bottom);

    ConfigScreen& config_;
    HWND first_ = nullptr;
};

ConfigWindow::ConfigWindow(ConfigScreen& config, EventSink sink, const Theme& theme,
                           const Pictures& pictures)
    : ScreenWindow(config, std::move(sink), theme, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU),
      config_(config) {
    SetIcons(pictures.small(TrayIcon::Window), pictures.large(TrayIcon::Window));
    Group activation{"ActivationFrame", {}};
    for (const char* field :
         {"CPU_OnT", "CPUDelayT", "CPULevelT", "AvTimeT", "Key_OnT", "KeyDelayT", "DL_OnT",
          "DLDelayT", "DLRateT", "Del_OnT", "DelTimeT", "Stop_OnT", "StopTimeT"}) {
        activation.rows.push_back(Field(field));
    }
    Group comms{"CommsFrame",
                {Field("IPAddT", 22),
                 Field("DNameT"),
                 {"PortsL", {{"Port1L", 4}, {"Port1T", 8}, {"Port2L", 4}, {"Port2T", 8}}, "PortM"},
                 Field("ComDelayT")}};
    Group controlGroup{"ControlFrame",
                       {{"StartDelayL", {{"StartTimeT", 3}, {"StartDelayT", 8}}, "StartDelayM"}}};
    for (const char* field : {"StartMinT", "RunOnTopT", "UExitT", "UpEnableT", "LogLevelT"}) {
        controlGroup.rows.push_back(Field(field, 14));
    }
    for (const char* field : {"LogNameT", "LogPathT"})
        controlGroup.rows.push_back(Field(field, 22));
    controlGroup.rows.push_back(Field("LogRotateT"));
    Group shutdown{"ShutdownFrame", {Field("ShutNameT", 14, "ShutTypeM")}};
    for (const char* field : {"ShutTimeT", "NoWarnT", "ForceT"}) {
        shutdown.rows.push_back(Field(field));
    }

    const int g = theme.gap();
    int leftBottom = 0;
    int rightBottom = 0;
    const int leftWidth = PlaceColumn({activation, comms}, g, g, leftBottom);
    const int rightWidth = PlaceColumn({controlGroup, shutdown}, g + leftWidth + g, g, rightBottom);
    const int width = g + leftWidth + g + rightWidth + g;
    int y = std::max(leftBottom, rightBottom) + g;
    for (const char* name : {"Status", "TMessage"}) {
        Place(NewLabel(name), g, y, width - 2 * g, theme.lineHeight());
        y += theme.lineHeight() + g / 2;
    }
    HWND logo = NewLink("Logo", SS_BITMAP);
    SetPicture(logo, pictures.smallLogo());
    Place(logo, g, y, 107, 32);
    const char* buttons[] = {"Save", "RestoreData", "Archive", "ViewL", "ExitConfig"};
    const int buttonWidth = theme.charWidth() * 12;
    const int between = g / 2;
    int x = width - g - 5 * buttonWidth - 4 * between;
    const int buttonY = y + (32 - theme.controlHeight()) / 2;
    for (const char* name : buttons) {
        Place(NewButton(name), x, buttonY, buttonWidth, theme.controlHeight());
        x += buttonWidth + between;
    }
    y += 32 + g;
    SetClientSize(width, y);
    first_ = control("CPU_OnT");
}

int ConfigWindow::TextWidth(const std::string& text) const {
    SIZE size = {};
    if (HDC dc = GetDC(hwnd())) {
        const HGDIOBJ old = SelectObject(dc, theme().normal());
        GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
        SelectObject(dc, old);
        ReleaseDC(hwnd(), dc);
    }
    // A highlighted range label is bold, about a tenth wider.
    return size.cx + size.cx / 10;
}

int ConfigWindow::PlaceColumn(const std::vector<Group>& groups, int x, int y, int& bottom) {
    const Theme& t = theme();
    const int g = t.gap();
    const int between = g / 2;
    const auto caption = [this](const std::string& name) {
        return config_.has(name) ? TextWidth(config_.control(name).caption) : 0;
    };
    // Column widths: captions as measured, fields as declared, ranges as measured up to a
    // limit (a longer one takes two lines; ranges change their text, so the column has room
    // for the longer variants too).
    int captionWidth = 0;
    int fieldsWidth = 0;
    int rangeWidth = t.charWidth() * 24;
    const int widest = t.charWidth() * 36;
    for (const Group& group : groups) {
        for (const Row& row : group.rows) {
            captionWidth = std::max(captionWidth, caption(row.caption));
            int fields = 0;
            for (const auto& field : row.fields) fields += field.second * t.charWidth() + between;
            fieldsWidth = std::max(fieldsWidth, fields);
            rangeWidth = std::max(rangeWidth, std::min(caption(row.range), widest));
        }
    }
    captionWidth += g;
    const int width = g + captionWidth + fieldsWidth + g + rangeWidth + g;
    const int rowHeight = t.controlHeight() + 4;
    for (const Group& group : groups) {
        const int top = y;
        HWND box = NewPlain("BUTTON", config_.control(group.frame).caption, BS_GROUPBOX);
        y += t.textHeight() + g / 2;
        for (const Row& row : group.rows) {
            if (config_.has(row.caption)) {
                Place(NewLabel(row.caption, SS_CENTERIMAGE), x + g, y, captionWidth, rowHeight);
            }
            int fx = x + g + captionWidth;
            for (const auto& [name, chars] : row.fields) {
                const int w = chars * t.charWidth();
                const int cy = y + 2;
                if (name.back() == 'L') {
                    Place(NewLabel(name, SS_CENTERIMAGE), fx, y, w, rowHeight);
                } else if (!config_.control(name).items.empty()) {
                    Place(NewList(name), fx, cy, w, t.controlHeight());
                } else if (ConfigScreen::IsCheckBox(name)) {
                    Place(NewCheckBox(name), fx, cy, t.controlHeight(), t.controlHeight());
                } else {
                    Place(NewTextBox(name), fx, cy, w, t.controlHeight());
                }
                fx += w + between;
            }
            if (config_.has(row.range)) {
                const bool twoLines = caption(row.range) > rangeWidth;
                const int lines = twoLines ? 2 : 1;
                Place(NewLabel(row.range), x + width - g - rangeWidth,
                      twoLines ? y : y + (rowHeight - t.lineHeight()) / 2, rangeWidth,
                      t.lineHeight() * lines);
            }
            y += rowHeight;
        }
        y += g / 2;
        Place(box, x, top, width, y - top);
        y += g;
    }
    bottom = y - g;
    return width;
}

}  // namespace

std::unique_ptr<ScreenWindow> MakeConfigWindow(ConfigScreen& config, EventSink sink,
                                               const Theme& theme, const Pictures& pictures) {
    return std::make_unique<ConfigWindow>(config, std::move(sink), theme, pictures);
}

}  // namespace vespar::win32

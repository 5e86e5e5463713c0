#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace vespar {

// A colour as the screens use it: a system colour or an RGB triple.
struct Color {
    enum class Kind { ButtonFace, ButtonText, WindowBackground, Rgb } kind = Kind::ButtonText;
    std::uint8_t r = 0, g = 0, b = 0;

    static Color System(Kind k) { return Color{k, 0, 0, 0}; }
    static Color Rgb(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
        return Color{Kind::Rgb, r, g, b};
    }
    friend bool operator==(const Color&, const Color&) = default;
};

inline const Color kOrange = Color::Rgb(255, 128, 0);
inline const Color kWhite = Color::Rgb(255, 255, 255);
inline const Color kBlue = Color::Rgb(0, 0, 255);
inline const Color kDarkGreen = Color::Rgb(0, 102, 0);

// The drawable state of one control.
struct Control {
    std::string caption;
    std::string tooltip;
    bool enabled = true;
    bool visible = true;
    Color foreColor = Color::System(Color::Kind::ButtonText);
    Color backColor = Color::System(Color::Kind::ButtonFace);
    bool bold = false;
    int value = 0;  // check box: 0 clear, 1 ticked
    std::vector<std::string> items;
    int selection = -1;

    friend bool operator==(const Control&, const Control&) = default;
};

// A window as a set of named controls plus its caption; the front-end draws it and turns
// widget events back into the model's events.
class ScreenModel {
  public:
    explicit ScreenModel(std::string name) : name_(std::move(name)) {}

    // Window events the front-end raises as clicks: the close button and the window becoming
    // the active one.
    static constexpr const char* kCloseEvent = "#close";
    static constexpr const char* kActivateEvent = "#activate";

    const std::string& name() const { return name_; }
    std::string caption;
    bool visible = false;
    bool minimised = false;
    bool topmost = false;

    // Creates the control on first use, so screens declare theirs in their constructors.
    // Every writable access counts as a change, so that a front-end may skip the controls of
    // a screen nobody has written to since it last drew them.
    Control& control(const std::string& name) {
        ++changes_;
        return controls_[name];
    }
    const Control& control(const std::string& name) const { return controls_.at(name); }
    bool has(const std::string& name) const { return controls_.count(name) != 0; }
    const std::map<std::string, Control>& controls() const { return controls_; }
    std::uint64_t changes() const { return changes_; }

    // Clicks: the handler registered for a control, if any, runs.
    void OnClick(const std::string& name, std::function<void()> handler) {
        clicks_[name] = std::move(handler);
    }
    void Click(const std::string& name) {
        auto it = clicks_.find(name);
        if (it != clicks_.end() && it->second) it->second();
    }

  private:
    std::string name_;
    std::map<std::string, Control> controls_;
    std::map<std::string, std::function<void()>> clicks_;
    std::uint64_t changes_ = 0;
};

}  // namespace vespar

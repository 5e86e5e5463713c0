#pragma once

#include <QBoxLayout>
#include <QWidget>
#include <functional>
#include <map>
#include <string>

#include "ui/control_model.h"

class QLabel;
class QPushButton;

namespace vespar::qt {

// Draws a screen model with Qt widgets and turns widget events into model events. The owner
// calls Refresh after every event it handled.
class ScreenWindow : public QWidget {
  public:
    using EventSink = std::function<void(const std::function<void()>&)>;

    ScreenWindow(ScreenModel& model, EventSink sink);

    QLabel* AddLabel(QBoxLayout* layout, const std::string& name);
    QPushButton* AddButton(QBoxLayout* layout, const std::string& name);
    void Refresh();

  protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    ScreenModel& model_;
    EventSink sink_;
    std::map<std::string, QLabel*> labels_;
    std::map<std::string, QPushButton*> buttons_;
};

}  // namespace vespar::qt

#pragma once
// The window: outer height in twips, the lines around the cursor keys, a key
// preview that sees every key before the focused control, and the report of
// a lost pointer.

#include <QWidget>
#include <functional>
#include <vector>

#include "toolkit/Controls.h"
#include "toolkit/Layout.h"

namespace toolkit::qt {

class FormWidget : public QWidget, public Window {
  public:
    explicit FormWidget(const WindowSpec& spec);
    ~FormWidget() override;

    int width() const override;
    int height() const override { return heightTwips_; }
    void setHeight(int twips) override;
    void setLeft(int twips) override;
    void setTop(int twips) override;
    void setCaption(const std::string& utf8) override;
    void show() override { QWidget::show(); }
    void onKeyDown(std::function<void(int, int)> handler) override;
    void onPointerLost(Handler handler) override;
    void onClose(Handler handler) override;
    void unload() override;

    void addLine(const LineSpec& line) { lines_.push_back(line); }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool isFirstReceiver(QObject* watched) const;
    QPoint onScreen(QPoint topLeft) const;
    int framePixels() const;
    void applyHeight();
    void reachOnlyWhatShows();

    // The window cannot be resized by hand, so the height last set stands.
    int heightTwips_ = 0;
    std::vector<LineSpec> lines_;
    std::function<void(int, int)> keyDown_;
    Handler pointerLost_;
    Handler close_;
    bool unloading_ = false;
};

}  // namespace toolkit::qt

// The Qt widgets behind the handles: the main window with its client area,
// dialogs built from templates, the canvas dialogs paint on, and the record
// each handle keeps.
#pragma once

#include <QDialog>
#include <QImage>
#include <QMainWindow>
#include <QPointer>
#include <QWidget>
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "platform/canvas.h"
#include "platform/qt/qt_platform.h"

class QAction;
class QPainter;
class QScrollBar;

namespace tavimor {

// Delivers one message to the procedure of the widget's handle.
using Sender = std::function<intptr_t(unsigned, uintptr_t, intptr_t)>;

enum class QtRole { kMain, kDialog, kControl, kToolbar, kTip };

struct ToolbarButton {
    int command;
    unsigned state;
    ButtonStyle style;
    QAction* action;
    std::string tooltip;
};

struct QtPlatform::Record {
    QPointer<QWidget> widget;  // the top-level window, dialog or control
    QPointer<QWidget> client;  // where children go and pictures are painted
    QtRole role = QtRole::kControl;
    ControlKind kind = ControlKind::kLabel;
    int id = kUnaddressedControl;
    WindowHandle parent = kNoWindow;
    WindowProc proc;
    WindowProc control_proc;
    bool group_start = false;
    // Main window.
    MenuHandle menu = kNoMenu;
    std::array<ScrollInfo, 2> scroll{};
    std::array<QScrollBar*, 2> bars{};
    QImage frame;  // the last presented picture
    Point frame_at;
    // Dialogs.
    std::string template_name;
    bool modal = false;
    // Toolbar.
    std::vector<ToolbarButton> buttons;
};

struct QtPlatform::TreeEntry {
    WindowHandle control;
    QTreeWidgetItem* item;
};

// The client area of the main window: paints the presented picture and
// passes mouse, keyboard, size and context-menu events on.
class ClientArea : public QWidget {
  public:
    ClientArea(Sender send, std::function<void(QPainter&)> paint_frame);
    bool in_paint = false;  // a present now needs no further repaint

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    Sender send_;
    std::function<void(QPainter&)> paint_frame_;
};

// The top-level window: client area with the scroll bars beside it.
class MainFrame : public QMainWindow {
  public:
    MainFrame(Sender send, ClientArea* client, QScrollBar* vertical, QScrollBar* horizontal);
    bool accepting_drops = false;

  protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    Sender send_;
};

// A dialog made from a template: Escape and the close button send Cancel
// to the procedure, painting passes a canvas to it.
class TemplateDialog : public QDialog {
  public:
    TemplateDialog(QWidget* owner, Sender send);

    void reject() override;

  protected:
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    Sender send_;
};

// Lines on a widget being painted.
class PainterCanvas : public Canvas {
  public:
    explicit PainterCanvas(QPainter& painter) : painter_(painter) {}
    ColourRef select_pen(ColourRef colour) override;
    void move_to(int x, int y) override { at_ = {x, y}; }
    void line_to(int x, int y) override;
    void set_pixel(int x, int y, ColourRef colour) override;

  private:
    QPainter& painter_;
    ColourRef pen_ = 0;
    Point at_;
};

// The virtual key of a Qt key, or 0.
int virtual_key(int qt_key);

}  // namespace tavimor

// The Qt widgets behind the handles: the main window with its client area,
// dialogs built from templates, the canvas dialogs paint on, and the record
// each handle keeps.
#pragma once

#include <QCheckBox>
#include <QDialog>
#include <QImage>
#include <QMainWindow>
#include <QPointer>
#include <QWidget>
#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/canvas.h"
#include "platform/qt/qt_platform.h"
#include "platform/toolbar_buttons.h"

class QAction;
class QPainter;
class QScrollBar;

namespace tavimor {

// Delivers one message to the procedure of the widget's handle.
using Sender = std::function<intptr_t(unsigned, uintptr_t, intptr_t)>;

enum class QtRole { kMain, kDialog, kControl, kToolbar, kTip };

// The modifier keys of the input event the platform's widgets are handling.
struct QtInputState {
    Qt::KeyboardModifiers modifiers;
    int depth = 0;  // input events being handled, one inside the other
};

// Marks an input event as being handled for as long as it lives.
class InputScope {
  public:
    InputScope(QtInputState& state, Qt::KeyboardModifiers modifiers)
        : state_(state), saved_(state.modifiers) {
        state_.modifiers = modifiers;
        ++state_.depth;
    }
    ~InputScope() {
        state_.modifiers = saved_;
        --state_.depth;
    }
    InputScope(const InputScope&) = delete;
    InputScope& operator=(const InputScope&) = delete;

  private:
    QtInputState& state_;
    Qt::KeyboardModifiers saved_;
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
    std::string text;  // a control's text as last set
    // Main window.
    MenuHandle menu = kNoMenu;
    std::array<ScrollInfo, 2> scroll{};
    std::array<QScrollBar*, 2> bars{};
    QImage frame;  // the last presented picture
    Point frame_at;
    // Dialogs.
    std::string template_name;
    bool modal = false;
    // Toolbar: the buttons and their actions, index for index.
    std::optional<ToolbarButtons> buttons;
    std::vector<QAction*> actions;
};

struct QtPlatform::TreeEntry {
    WindowHandle control;
    QTreeWidgetItem* item;
};

// The client area of the main window: paints the presented picture and
// passes mouse, keyboard, size and context-menu events on.
//
// The procedure gets kPaint when the window was invalidated or the window
// system asks for a repaint (showing, resizing, uncovering); it may present
// during kPaint, which needs no further repaint. A repaint asked for by a
// present only paints the stored picture again.
class ClientArea : public QWidget {
  public:
    ClientArea(WindowHandle handle, Sender send, std::function<void(QPainter&)> paint_frame,
               QtInputState& input);
    // The window was invalidated: its procedure paints soon.
    void invalidate();
    // A new picture is stored: it is painted soon.
    void picture_changed();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    WindowHandle handle_;
    Sender send_;
    std::function<void(QPainter&)> paint_frame_;
    QtInputState& input_;
    bool procedure_paint_due_ = false;  // invalidated, shown or resized since the last paint
    bool picture_paint_due_ = false;    // a present asked for a repaint
    bool in_paint_ = false;             // the procedure is handling kPaint
    bool presented_in_paint_ = false;
};

// The top-level window: client area with the scroll bars beside it.
class MainFrame : public QMainWindow {
  public:
    MainFrame(Sender send, ClientArea* client, QScrollBar* vertical, QScrollBar* horizontal,
              QtInputState& input);
    bool accepting_drops = false;

  protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    Sender send_;
    QtInputState& input_;
};

// A dialog made from a template: Escape and the close button call cancel
// (which sends the Cancel command to the procedure), painting passes a
// canvas to the procedure.
class TemplateDialog : public QDialog {
  public:
    TemplateDialog(QWidget* owner, Sender send, std::function<void()> cancel);

    void reject() override;

  protected:
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

  private:
    Sender send_;
    std::function<void()> cancel_;
};

// A check box the user toggles between checked and unchecked; only the
// program sets it indeterminate.
class TwoStateCheckBox : public QCheckBox {
  public:
    using QCheckBox::QCheckBox;

  protected:
    void nextCheckState() override;
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

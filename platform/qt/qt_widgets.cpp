#include "platform/qt/qt_widgets.h"

#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGridLayout>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>
#include <QRegion>
#include <QResizeEvent>
#include <QScrollBar>
#include <QShowEvent>
#include <QUrl>

#include "resources/control_ids.h"

namespace tavimor {

namespace {

unsigned key_state(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers) {
    unsigned state = 0;
    if (buttons & Qt::LeftButton) state |= key::kLeftButtonState;
    if (buttons & Qt::RightButton) state |= key::kRightButtonState;
    if (modifiers & Qt::ShiftModifier) state |= key::kShiftState;
    if (modifiers & Qt::ControlModifier) state |= key::kControlState;
    return state;
}

QColor to_qcolor(ColourRef colour) {
    return QColor(red_of(colour), green_of(colour), blue_of(colour));
}

}  // namespace

int virtual_key(int qt_key) {
    switch (qt_key) {
        case Qt::Key_Left:
            return key::kLeft;
        case Qt::Key_Right:
            return key::kRight;
        case Qt::Key_Up:
            return key::kUp;
        case Qt::Key_Down:
            return key::kDown;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return key::kReturn;
        case Qt::Key_Escape:
            return key::kEscape;
        case Qt::Key_Control:
            return key::kControl;
        case Qt::Key_Shift:
            return key::kShift;
        default:
            if (qt_key >= Qt::Key_0 && qt_key <= Qt::Key_9) return qt_key;
            if (qt_key >= Qt::Key_A && qt_key <= Qt::Key_Z) return qt_key;
            return 0;
    }
}

// --- ClientArea ---------------------------------------------------------------

ClientArea::ClientArea(WindowHandle handle, Sender send, std::function<void(QPainter&)> paint_frame,
                       QtInputState& input)
    : handle_(handle), send_(std::move(send)), paint_frame_(std::move(paint_frame)), input_(input) {
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setAutoFillBackground(true);
}

void ClientArea::invalidate() {
    procedure_paint_due_ = true;
    update();
}

void ClientArea::picture_changed() {
    if (in_paint_) {
        presented_in_paint_ = true;  // this very paint shows it
        return;
    }
    picture_paint_due_ = true;
    update();
}

void ClientArea::paintEvent(QPaintEvent* event) {
    // Anything but a present alone asks the procedure.
    bool ask_procedure = procedure_paint_due_ || !picture_paint_due_;
    procedure_paint_due_ = picture_paint_due_ = false;
    if (ask_procedure) {
        in_paint_ = true;
        presented_in_paint_ = false;
        send_(msg::kPaint, 0, 0);
        in_paint_ = false;
        // A picture presented now shows at once where this paint reaches; the
        // rest of the area gets it through a repaint of the picture alone.
        QRegion rest = QRegion(rect()) - event->region();
        if (presented_in_paint_ && !rest.isEmpty()) {
            picture_paint_due_ = true;
            update(rest);
        }
    }
    QPainter painter(this);
    paint_frame_(painter);
}

void ClientArea::resizeEvent(QResizeEvent* event) {
    procedure_paint_due_ = true;
    send_(msg::kSize, 0, pack_point(event->size().width(), event->size().height()));
}

void ClientArea::showEvent(QShowEvent*) {
    procedure_paint_due_ = true;
}

void ClientArea::mouseMoveEvent(QMouseEvent* event) {
    InputScope scope(input_, event->modifiers());
    QPoint at = event->position().toPoint();
    send_(msg::kMouseMove, key_state(event->buttons(), event->modifiers()),
          pack_point(at.x(), at.y()));
}

void ClientArea::mousePressEvent(QMouseEvent* event) {
    InputScope scope(input_, event->modifiers());
    setFocus();
    if (event->button() != Qt::LeftButton) return;
    QPoint at = event->position().toPoint();
    send_(msg::kLeftButtonDown, key_state(event->buttons(), event->modifiers()),
          pack_point(at.x(), at.y()));
}

void ClientArea::keyPressEvent(QKeyEvent* event) {
    InputScope scope(input_, event->modifiers());
    int key = virtual_key(event->key());
    if (key) send_(msg::kKeyDown, static_cast<uintptr_t>(key), 0);
}

void ClientArea::contextMenuEvent(QContextMenuEvent* event) {
    InputScope scope(input_, event->modifiers());
    QPoint at = event->globalPos();
    send_(msg::kContextMenu, static_cast<uintptr_t>(handle_), pack_point(at.x(), at.y()));
}

// --- MainFrame ---------------------------------------------------------------------

MainFrame::MainFrame(Sender send, ClientArea* client, QScrollBar* vertical, QScrollBar* horizontal,
                     QtInputState& input)
    : send_(std::move(send)), input_(input) {
    auto* central = new QWidget(this);
    auto* grid = new QGridLayout(central);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(0);
    client->setParent(central);
    vertical->setParent(central);
    horizontal->setParent(central);
    grid->addWidget(client, 0, 0);
    grid->addWidget(vertical, 0, 1);
    grid->addWidget(horizontal, 1, 0);
    setCentralWidget(central);
    setAcceptDrops(true);
}

void MainFrame::closeEvent(QCloseEvent* event) {
    // The procedure decides: the window goes only when it is destroyed.
    event->ignore();
    send_(msg::kClose, 0, 0);
}

void MainFrame::dragEnterEvent(QDragEnterEvent* event) {
    if (accepting_drops && event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void MainFrame::dropEvent(QDropEvent* event) {
    if (!accepting_drops) return;
    std::vector<std::string> paths;
    for (const QUrl& url : event->mimeData()->urls()) {
        if (url.isLocalFile()) paths.push_back(url.toLocalFile().toStdString());
    }
    if (paths.empty()) return;
    event->acceptProposedAction();
    send_(msg::kDropFiles, 0, dropped_paths_parameter(paths));
}

void MainFrame::keyPressEvent(QKeyEvent* event) {
    InputScope scope(input_, event->modifiers());
    int key = virtual_key(event->key());
    if (key) send_(msg::kKeyDown, static_cast<uintptr_t>(key), 0);
}

// --- TemplateDialog ---------------------------------------------------------------------

TemplateDialog::TemplateDialog(QWidget* owner, Sender send, std::function<void()> cancel)
    : QDialog(owner), send_(std::move(send)), cancel_(std::move(cancel)) {}

void TemplateDialog::reject() {
    cancel_();
}

void TemplateDialog::closeEvent(QCloseEvent* event) {
    event->ignore();
    reject();
}

void TemplateDialog::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    QPainter painter(this);
    PainterCanvas canvas(painter);
    send_(msg::kPaint, 0, canvas_parameter(&canvas));
}

// A left click on the dialog itself (or on a frame the dialog draws in)
// reaches its procedure, with the point in the dialog's coordinates.
void TemplateDialog::mousePressEvent(QMouseEvent* event) {
    QDialog::mousePressEvent(event);
    if (event->button() != Qt::LeftButton) return;
    const QPoint at = event->position().toPoint();
    send_(msg::kLeftButtonDown, key::kLeftButtonState, pack_point(at.x(), at.y()));
}

void TemplateDialog::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    send_(msg::kSize, 0, pack_point(event->size().width(), event->size().height()));
}

// --- TwoStateCheckBox --------------------------------------------------------------------

void TwoStateCheckBox::nextCheckState() {
    setCheckState(checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
}

// --- PainterCanvas -----------------------------------------------------------------------

ColourRef PainterCanvas::select_pen(ColourRef colour) {
    ColourRef previous = pen_;
    pen_ = colour;
    painter_.setPen(QPen(to_qcolor(colour), 1));
    return previous;
}

void PainterCanvas::line_to(int x, int y) {
    painter_.drawLine(at_.x, at_.y, x, y);
    at_ = {x, y};
}

void PainterCanvas::set_pixel(int x, int y, ColourRef colour) {
    QPen kept = painter_.pen();
    painter_.setPen(to_qcolor(colour));
    painter_.drawPoint(x, y);
    painter_.setPen(kept);
}

}  // namespace tavimor

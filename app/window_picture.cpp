#include "app/window_picture.h"

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>
#include <QTimer>
#include <cstdlib>

#include "platform/desktop/x11_input.h"

namespace {
xcb_connection_t* heldDisplay = nullptr;
}  // namespace

bool holdDisplay() {
  xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
  if (xcb_connection_has_error(connection)) {
    xcb_disconnect(connection);
    return false;
  }
  releaseDisplay();
  heldDisplay = connection;
  return true;
}

void releaseDisplay() {
  if (heldDisplay) xcb_disconnect(heldDisplay);
  heldDisplay = nullptr;
}

void WindowPicture::show(uintptr_t window, const QImage& picture, QRect area,
                         QPoint offset) {
  xcb_connection_t* connection = tarvel::platform::desktopConnection();
  if (!connection || !window) return;
  if (pusher_.window() != xcb_window_t(window) || connection_ != connection) {
    connection_ = connection;
    if (!pusher_.attach(connection, xcb_window_t(window))) return;
  }
  if (pusher_.attached()) pusher_.push(picture, area, area.topLeft() + offset);
}

namespace {

// How long the input queued up may take to come through: a live server
// answers in a millisecond or two.
constexpr int markWaitMs = 500;

// A client message the application sends to a window of its own. The
// server queues it behind every event it has already sent, and Qt's reader
// thread hands events on in order: once the mark has come through the
// event loop, so has all input made before it was sent.
class QueueMark : public QAbstractNativeEventFilter {
 public:
  explicit QueueMark(xcb_connection_t* connection) : connection_(connection) {
    xcb_screen_t* screen =
        xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    if (!screen) return;
    window_ = xcb_generate_id(connection);
    xcb_create_window(connection, 0, window_, screen->root, 0, 0, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, 0,
                      nullptr);
    const char name[] = "_TARVEL_QUEUE_MARK";
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, sizeof name - 1, name),
        nullptr);
    type_ = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(reply);
  }
  ~QueueMark() override {
    if (window_ && !xcb_connection_has_error(connection_)) {
      xcb_destroy_window(connection_, window_);
      xcb_flush(connection_);
    }
  }

  // Sends the mark, and lets the event loop run until it has come through
  // or the wait is over.
  void passThrough() {
    if (type_ == XCB_ATOM_NONE) {
      QCoreApplication::processEvents();
      return;
    }
    xcb_client_message_event_t mark{};
    mark.response_type = XCB_CLIENT_MESSAGE;
    mark.format = 32;
    mark.window = window_;
    mark.type = type_;
    // No event mask: the event goes to the window's creator, this
    // application.
    xcb_send_event(connection_, 0, window_, XCB_EVENT_MASK_NO_EVENT,
                   reinterpret_cast<const char*>(&mark));
    xcb_flush(connection_);
    QCoreApplication::instance()->installNativeEventFilter(this);
    // Wakes the wait below should the mark never come.
    QTimer deadline;
    deadline.setSingleShot(true);
    deadline.start(markWaitMs);
    while (!through_ && deadline.isActive() &&
           !xcb_connection_has_error(connection_))
      QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    QCoreApplication::instance()->removeNativeEventFilter(this);
  }

  bool nativeEventFilter(const QByteArray& type, void* message,
                         qintptr*) override {
    if (type != "xcb_generic_event_t") return false;
    auto* event = static_cast<xcb_generic_event_t*>(message);
    if ((event->response_type & 0x7f) != XCB_CLIENT_MESSAGE) return false;
    auto* client = reinterpret_cast<xcb_client_message_event_t*>(event);
    if (client->window != window_ || client->type != type_) return false;
    through_ = true;
    return true;
  }

 private:
  xcb_connection_t* connection_;
  xcb_window_t window_ = 0;
  xcb_atom_t type_ = XCB_ATOM_NONE;
  bool through_ = false;
};

}  // namespace

void dropQueuedInput(bool& dropping) {
  dropping = true;
  if (xcb_connection_t* connection = tarvel::platform::desktopConnection())
    QueueMark(connection).passThrough();
  else
    QCoreApplication::processEvents();
  dropping = false;
}

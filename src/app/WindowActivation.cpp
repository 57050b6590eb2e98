#include "app/WindowActivation.h"

#include <QGuiApplication>
#include <QWidget>

#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

xcb_atom_t internAtom(xcb_connection_t *connection, const char *name)
{
    const xcb_intern_atom_cookie_t cookie =
        xcb_intern_atom(connection, 0, uint16_t(std::strlen(name)), name);
    xcb_intern_atom_reply_t *reply = xcb_intern_atom_reply(connection, cookie, nullptr);
    const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(reply);
    return atom;
}

// The X server's time of the launch: a startup id ends in _TIME and that time.
quint32 launchTime(const QString &startupId)
{
    const qsizetype at = startupId.lastIndexOf(QStringLiteral("_TIME"));
    return at < 0 ? 0 : startupId.sliced(at + 5).toUInt();
}

// The window manager weighs a request to activate a window against the user's latest input:
// the request carries the launch's time, as if the launch had opened the window. The startup
// notification's "remove" message then tells the desktop that the launch is done.
void activateOnX11(QWidget *window, const QString &startupId)
{
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11 || !x11->connection())
        return;
    xcb_connection_t *connection = x11->connection();
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    const auto windowId = xcb_window_t(window->winId());

    xcb_client_message_event_t activate = {};
    activate.response_type = XCB_CLIENT_MESSAGE;
    activate.format = 32;
    activate.window = windowId;
    activate.type = internAtom(connection, "_NET_ACTIVE_WINDOW");
    activate.data.data32[0] = 1; // asked for by an application
    activate.data.data32[1] = launchTime(startupId);
    xcb_send_event(connection, 0, root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                   reinterpret_cast<const char *>(&activate));

    // Sent in pieces of 20 bytes, the first as the message's beginning, the last ending in a
    // zero byte.
    QByteArray id = startupId.toUtf8();
    id.replace("\\", "\\\\").replace("\"", "\\\"");
    QByteArray message("remove: ID=\"");
    message.append(id).append('"').append('\0');
    const xcb_atom_t begin = internAtom(connection, "_NET_STARTUP_INFO_BEGIN");
    const xcb_atom_t more = internAtom(connection, "_NET_STARTUP_INFO");
    constexpr qsizetype pieceSize = 20;
    for (qsizetype offset = 0; offset < message.size(); offset += pieceSize) {
        xcb_client_message_event_t piece = {};
        piece.response_type = XCB_CLIENT_MESSAGE;
        piece.format = 8;
        piece.window = windowId;
        piece.type = offset == 0 ? begin : more;
        std::memcpy(piece.data.data8, message.constData() + offset,
                    size_t(std::min(pieceSize, message.size() - offset)));
        xcb_send_event(connection, 0, root, XCB_EVENT_MASK_PROPERTY_CHANGE,
                       reinterpret_cast<const char *>(&piece));
    }
    xcb_flush(connection);
}

} // namespace

void bringForward(QWidget *window, const QString &activationToken)
{
    window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    window->show();
    window->raise();
    const QString platform = QGuiApplication::platformName();
    // Qt's Wayland plugin hands this token to the compositor with the request to activate.
    if (!activationToken.isEmpty() && platform == u"wayland")
        qputenv("XDG_ACTIVATION_TOKEN", activationToken.toUtf8());
    window->activateWindow();
    if (!activationToken.isEmpty() && platform == u"xcb")
        activateOnX11(window, activationToken);
}

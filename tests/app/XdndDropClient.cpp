// A drag source that drops files on a window the way a file manager does,
// through the X drag-and-drop protocol (XDND).
//
//   orvo-xdnd-drop [--timeout ms] [--window id] x y path...
//
// x and y are root coordinates, or coordinates inside the window given with
// --window. The client finds the XDND-aware window under that point, offers
// the paths as text/uri-list, moves from the window's left edge to the point
// as a pointer would, drops them there and serves the selection.
//
// Exit status: 0 the target accepted and finished the drop; 1 the target
// refused it; 2 there is no XDND-aware window under the point; 3 the target
// did not answer in time; 4 bad arguments or no display.

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <sys/select.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace
{
    constexpr long ourVersion = 5;

    enum ExitStatus { accepted = 0, refused = 1, noTarget = 2, timedOut = 3, badUse = 4 };

    struct Atoms
    {
        explicit Atoms (Display* d)
        {
            aware     = XInternAtom (d, "XdndAware", False);
            proxy     = XInternAtom (d, "XdndProxy", False);
            enter     = XInternAtom (d, "XdndEnter", False);
            position  = XInternAtom (d, "XdndPosition", False);
            status    = XInternAtom (d, "XdndStatus", False);
            leave     = XInternAtom (d, "XdndLeave", False);
            drop      = XInternAtom (d, "XdndDrop", False);
            finished  = XInternAtom (d, "XdndFinished", False);
            selection = XInternAtom (d, "XdndSelection", False);
            copy      = XInternAtom (d, "XdndActionCopy", False);
            uriList   = XInternAtom (d, "text/uri-list", False);
            targets   = XInternAtom (d, "TARGETS", False);
            stamp     = XInternAtom (d, "ORVO_XDND_TIMESTAMP", False);
            nudge     = XInternAtom (d, "ORVO_XDND_NUDGE", False);
        }

        Atom aware, proxy, enter, position, status, leave, drop, finished,
             selection, copy, uriList, targets, stamp, nudge;
    };

    std::string percentEncode (const std::string& path)
    {
        static const char* hex = "0123456789ABCDEF";
        std::string out;

        for (unsigned char c : path)
        {
            const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')
                               || c == '/' || c == '-' || c == '_' || c == '.' || c == '~';
            if (plain)
            {
                out += (char) c;
            }
            else
            {
                out += '%';
                out += hex[c >> 4];
                out += hex[c & 15];
            }
        }

        return out;
    }

    std::string absolutePath (const std::string& path)
    {
        if (! path.empty() && path[0] == '/')
            return path;

        char cwd[PATH_MAX];
        if (getcwd (cwd, sizeof (cwd)) == nullptr)
            return path;

        return std::string (cwd) + "/" + path;
    }

    // The first window property of a 32-bit format, or false if absent.
    bool readLongProperty (Display* d, Window w, Atom property, Atom type, unsigned long& value)
    {
        Atom actualType = None;
        int actualFormat = 0;
        unsigned long numItems = 0, bytesLeft = 0;
        unsigned char* data = nullptr;

        if (XGetWindowProperty (d, w, property, 0, 1, False, type, &actualType, &actualFormat,
                                &numItems, &bytesLeft, &data) != Success)
            return false;

        const bool ok = data != nullptr && actualFormat == 32 && numItems == 1;

        if (ok)
            value = reinterpret_cast<unsigned long*> (data)[0];

        if (data != nullptr)
            XFree (data);

        return ok;
    }

    // Walks down from the root to the deepest window under the point that
    // carries XdndAware, as a drag source does while the pointer moves.
    Window findAwareWindow (Display* d, const Atoms& atoms, int rootX, int rootY, unsigned long& version)
    {
        const Window root = DefaultRootWindow (d);
        Window current = root, found = None;

        for (;;)
        {
            unsigned long v = 0;

            if (current != root && readLongProperty (d, current, atoms.aware, XA_ATOM, v))
            {
                found = current;
                version = v;
                break;
            }

            int x = 0, y = 0;
            Window child = None;

            if (! XTranslateCoordinates (d, root, current, rootX, rootY, &x, &y, &child) || child == None)
                break;

            current = child;
        }

        return found;
    }

    long long nowMs()
    {
        using namespace std::chrono;
        return duration_cast<milliseconds> (steady_clock::now().time_since_epoch()).count();
    }

    // The next event, or false when the deadline passes first.
    bool nextEvent (Display* d, long long deadline, XEvent& event)
    {
        while (XPending (d) == 0)
        {
            const long long left = deadline - nowMs();

            if (left <= 0)
                return false;

            fd_set fds;
            FD_ZERO (&fds);
            FD_SET (ConnectionNumber (d), &fds);
            timeval tv { (time_t) (left / 1000), (suseconds_t) ((left % 1000) * 1000) };
            select (ConnectionNumber (d) + 1, &fds, nullptr, nullptr, &tv);
        }

        XNextEvent (d, &event);
        return true;
    }

    struct Drag
    {
        Display* display;
        Atoms atoms;
        Window source, target, messageWindow;
        long version;
        Time time = CurrentTime;
        std::string uriList;
        bool served = false;

        void send (Atom type, long l1, long l2, long l3, long l4)
        {

            XEvent e {};
            e.xclient.type = ClientMessage;
            e.xclient.display = display;
            e.xclient.window = target;
            e.xclient.message_type = type;
            e.xclient.format = 32;
            e.xclient.data.l[0] = (long) source;
            e.xclient.data.l[1] = l1;
            e.xclient.data.l[2] = l2;
            e.xclient.data.l[3] = l3;
            e.xclient.data.l[4] = l4;
            XSendEvent (display, messageWindow, False, NoEventMask, &e);
            XFlush (display);
        }

        void serveSelection (const XSelectionRequestEvent& request)
        {
            XEvent reply {};
            reply.xselection.type = SelectionNotify;
            reply.xselection.display = display;
            reply.xselection.requestor = request.requestor;
            reply.xselection.selection = request.selection;
            reply.xselection.target = request.target;
            reply.xselection.time = request.time;
            reply.xselection.property = None;

            // Obsolete requestors name no property: the target is used instead.
            const Atom property = request.property != None ? request.property : request.target;

            if (request.selection == atoms.selection && request.target == atoms.uriList)
            {
                XChangeProperty (display, request.requestor, property, atoms.uriList, 8, PropModeReplace,
                                 reinterpret_cast<const unsigned char*> (uriList.data()), (int) uriList.size());
                reply.xselection.property = property;
                served = true;
            }
            else if (request.selection == atoms.selection && request.target == atoms.targets)
            {
                const Atom offered[] = { atoms.targets, atoms.uriList };
                XChangeProperty (display, request.requestor, property, XA_ATOM, 32, PropModeReplace,
                                 reinterpret_cast<const unsigned char*> (offered), 2);
                reply.xselection.property = property;
            }

            XSendEvent (display, request.requestor, False, NoEventMask, &reply);
            XFlush (display);
        }

        // A client message that means nothing to the target. The framework
        // reads its X connection only when the socket turns readable, so
        // messages that one of its own round trips already pulled into its
        // queue can wait there for the next arrival; in a real drag the moving
        // pointer supplies that arrival, here this does.
        void nudge()
        {
            XEvent e {};
            e.xclient.type = ClientMessage;
            e.xclient.display = display;
            e.xclient.window = target;
            e.xclient.message_type = atoms.nudge;
            e.xclient.format = 32;
            XSendEvent (display, messageWindow, False, NoEventMask, &e);
            XFlush (display);
        }

        // Serves selection requests until a client message of that type
        // arrives from the target; false on timeout.
        bool waitFor (Atom type, long long deadline, XClientMessageEvent& message)
        {
            XEvent e;

            for (;;)
            {
                const long long slice = std::min (deadline, nowMs() + 250);

                if (! nextEvent (display, slice, e))
                {
                    if (nowMs() >= deadline)
                        return false;

                    nudge();
                    continue;
                }

                if (e.type == SelectionRequest)
                    serveSelection (e.xselectionrequest);
                else if (e.type == ClientMessage && e.xclient.message_type == type
                         && (Window) e.xclient.data.l[0] == target)
                {
                    message = e.xclient;
                    return true;
                }
            }
        }

        // Serves selection requests until the data went out or the time is up.
        void serveUntilDataTaken (long long deadline)
        {
            XEvent e;

            while (! served && nextEvent (display, deadline, e))
                if (e.type == SelectionRequest)
                    serveSelection (e.xselectionrequest);
        }

        // A server timestamp, as a real drag takes from the button press.
        void takeTimestamp()
        {
            XChangeProperty (display, source, atoms.stamp, XA_STRING, 8, PropModeAppend, nullptr, 0);
            XEvent e;

            for (;;)
            {
                XWindowEvent (display, source, PropertyChangeMask, &e);

                if (e.type == PropertyNotify && e.xproperty.atom == atoms.stamp)
                {
                    time = e.xproperty.time;
                    return;
                }
            }
        }
    };

    int usage()
    {
        std::fprintf (stderr, "usage: orvo-xdnd-drop [--timeout ms] [--window id] x y path...\n");
        return badUse;
    }
}

int main (int argc, char** argv)
{
    long timeoutMs = 5000;
    Window relativeTo = None;
    int i = 1;

    for (; i < argc && std::strncmp (argv[i], "--", 2) == 0; i += 2)
    {
        if (i + 1 >= argc)
            return usage();

        if (std::strcmp (argv[i], "--timeout") == 0)
            timeoutMs = std::strtol (argv[i + 1], nullptr, 10);
        else if (std::strcmp (argv[i], "--window") == 0)
            relativeTo = (Window) std::strtoul (argv[i + 1], nullptr, 0);
        else
            return usage();
    }

    if (argc - i < 3)
        return usage();

    int x = std::atoi (argv[i]), y = std::atoi (argv[i + 1]);
    std::vector<std::string> paths (argv + i + 2, argv + argc);

    Display* display = XOpenDisplay (nullptr);

    if (display == nullptr)
    {
        std::fprintf (stderr, "orvo-xdnd-drop: cannot open the display\n");
        return badUse;
    }

    const Window root = DefaultRootWindow (display);

    if (relativeTo != None)
    {
        Window child;
        XTranslateCoordinates (display, relativeTo, root, x, y, &x, &y, &child);
    }

    Drag drag { display, Atoms (display), None, None, None, 0 };

    for (auto& path : paths)
        drag.uriList += "file://" + percentEncode (absolutePath (path)) + "\r\n";

    unsigned long targetVersion = 0;
    drag.target = findAwareWindow (display, drag.atoms, x, y, targetVersion);

    if (drag.target == None || targetVersion < 3)
    {
        std::fprintf (stderr, "orvo-xdnd-drop: no drop target at %d, %d\n", x, y);
        XCloseDisplay (display);
        return noTarget;
    }

    // A proxy, if the target names one, receives the messages for it.
    unsigned long proxy = 0;
    drag.messageWindow = readLongProperty (display, drag.target, drag.atoms.proxy, XA_WINDOW, proxy)
                             ? (Window) proxy : drag.target;
    drag.version = targetVersion < (unsigned long) ourVersion ? (long) targetVersion : ourVersion;

    XSetWindowAttributes attributes {};
    attributes.event_mask = PropertyChangeMask;
    drag.source = XCreateWindow (display, root, -10, -10, 1, 1, 0, CopyFromParent, InputOnly,
                                 CopyFromParent, CWEventMask, &attributes);
    drag.takeTimestamp();

    XSetSelectionOwner (display, drag.atoms.selection, drag.source, drag.time);

    if (XGetSelectionOwner (display, drag.atoms.selection) != drag.source)
    {
        std::fprintf (stderr, "orvo-xdnd-drop: could not own the drag selection\n");
        XCloseDisplay (display);
        return badUse;
    }

    const long long deadline = nowMs() + timeoutMs;
    XClientMessageEvent reply {};
    int result = timedOut;

    // The pointer enters the window at its left edge and moves to the point,
    // so the target sees the drag arrive as it does from a file manager.
    int entryX = x;
    {
        Window child;
        int windowX = 0, windowY = 0;
        XTranslateCoordinates (display, drag.target, root, 0, 0, &windowX, &windowY, &child);
        entryX = windowX < x ? windowX + 1 : x;
    }

    // One type offered, so it travels in the message itself (bit 0 clear).
    drag.send (drag.atoms.enter, drag.version << 24, (long) drag.atoms.uriList, None, None);

    // A step every 25 pixels: enough for the target to see the pointer cross
    // what lies between the window's edge and the point.
    const int steps = std::max (1, std::abs (x - entryX) / 25);
    bool answered = true;

    auto moveTo = [&] (int px)
    {
        // Each position waits for its status, as the protocol asks of a source.
        drag.send (drag.atoms.position, 0, (px << 16) | (y & 0xffff), (long) drag.time, (long) drag.atoms.copy);
        return drag.waitFor (drag.atoms.status, deadline, reply);
    };

    answered = moveTo (entryX);

    // Targets that look at the data while it moves ask for it at once. Once
    // it went out, one more step at the edge reaches them after the data, so
    // they see the whole way to the point with the data in hand, as they do
    // when a person's hand moves.
    if (answered)
    {
        drag.serveUntilDataTaken (std::min (deadline, nowMs() + 500));
        answered = moveTo (entryX + 1);
    }

    for (int step = 1; step <= steps && answered; ++step)
        answered = moveTo (entryX + (x - entryX) * step / steps);

    if (answered)
    {
        if ((reply.data.l[1] & 1) == 0)
        {
            drag.send (drag.atoms.leave, 0, 0, 0, 0);
            result = refused;
        }
        else
        {
            drag.send (drag.atoms.drop, 0, (long) drag.time, 0, 0);

            if (drag.waitFor (drag.atoms.finished, deadline, reply))
            {
                // From version 5 on the target says whether it took the drop.
                const bool taken = drag.version < 5 || (reply.data.l[1] & 1) != 0;
                result = taken ? accepted : refused;
            }
        }
    }

    if (result == timedOut)
        std::fprintf (stderr, "orvo-xdnd-drop: the target did not answer within %ld ms\n", timeoutMs);

    XDestroyWindow (display, drag.source);
    XCloseDisplay (display);
    return result;
}

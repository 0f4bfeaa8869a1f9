// zv_captura_x FILE.png: writes a picture of the whole X display ($DISPLAY).
// Qt first: Xlib's macros (Status, ...) clash with its headers.
#include <QImage>
#include <cstdio>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: zv_captura_x FILE.png\n");
        return 2;
    }
    Display* d = XOpenDisplay(nullptr);
    if (!d) {
        std::fprintf(stderr, "no display\n");
        return 1;
    }
    Window raiz = DefaultRootWindow(d);
    XWindowAttributes a{};
    XGetWindowAttributes(d, raiz, &a);
    XImage* img = XGetImage(d, raiz, 0, 0, a.width, a.height, AllPlanes, ZPixmap);
    if (!img) return 1;
    QImage imagen(a.width, a.height, QImage::Format_RGB32);
    for (int y = 0; y < a.height; ++y)
        for (int x = 0; x < a.width; ++x) imagen.setPixel(x, y, static_cast<QRgb>(XGetPixel(img, x, y)) | 0xff000000u);
    XDestroyImage(img);
    XCloseDisplay(d);
    return imagen.save(argv[1]) ? 0 : 1;
}

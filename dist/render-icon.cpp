// render-icon SVG SIZE OUT.png: draws the program's SVG icon as a square PNG of SIZE pixels, so
// that the installed hicolor theme has the sizes desktops look for without a converter tool.

#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <QString>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: render-icon SVG SIZE OUT.png\n");
        return 2;
    }
    // Drawing needs no display; the SVG reader comes from Qt's image format plugin.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const int size = std::atoi(argv[2]);
    if (size <= 0) {
        std::fprintf(stderr, "render-icon: bad size %s\n", argv[2]);
        return 2;
    }
    QImageReader reader(QString::fromLocal8Bit(argv[1]));
    reader.setScaledSize(QSize(size, size));
    const QImage image = reader.read();
    if (image.isNull()) {
        std::fprintf(stderr, "render-icon: cannot read %s: %s\n", argv[1], qPrintable(reader.errorString()));
        return 1;
    }
    if (!image.convertToFormat(QImage::Format_ARGB32).save(QString::fromLocal8Bit(argv[3]), "PNG")) {
        std::fprintf(stderr, "render-icon: cannot write %s\n", argv[3]);
        return 1;
    }
    return 0;
}

// Writes the program icon for the desktop's hicolor theme from the design the program draws:
// FOLDER/NxN/apps/NAME.png for each size N given, and FOLDER/scalable/apps/NAME.svg.
// Usage: quillix-make-icons FOLDER NAME SIZE...
#include <QColor>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTextStream>
#include <cstdio>

#include "platform/desktop/ProgramIcon.h"

namespace {

bool WritePng(const QString& folder, const QString& name, int size) {
    const QString apps = QStringLiteral("%1/%2x%2/apps").arg(folder).arg(size);
    return QDir().mkpath(apps) && DrawProgramIcon(size).save(apps + '/' + name + ".png", "PNG");
}

bool WriteSvg(const QString& folder, const QString& name) {
    const QString apps = folder + "/scalable/apps";
    QFile file(apps + '/' + name + ".svg");
    if (!QDir().mkpath(apps) || !file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        return false;
    }
    QTextStream out(&file);
    out << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"16\" height=\"16\" "
           "viewBox=\"0 0 16 16\" shape-rendering=\"crispEdges\">\n";
    for (const IconPart& part : ProgramIconDesign()) {
        out << QStringLiteral(
                   "  <rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\" fill=\"%5\"/>\n")
                   .arg(part.left)
                   .arg(part.top)
                   .arg(part.width)
                   .arg(part.height)
                   .arg(QColor(part.colour).name());
    }
    out << "</svg>\n";
    out.flush();
    return out.status() == QTextStream::Ok && file.flush();
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() < 4) {
        std::fprintf(stderr, "usage: quillix-make-icons FOLDER NAME SIZE...\n");
        return 2;
    }
    const QString folder = args[1];
    const QString name = args[2];
    for (const QString& sizeText : args.mid(3)) {
        const int size = sizeText.toInt();
        if (size <= 0 || size % 16 != 0 || !WritePng(folder, name, size)) {
            std::fprintf(stderr, "quillix-make-icons: cannot write the %s px icon\n",
                         qPrintable(sizeText));
            return 1;
        }
    }
    if (!WriteSvg(folder, name)) {
        std::fprintf(stderr, "quillix-make-icons: cannot write the scalable icon\n");
        return 1;
    }
    return 0;
}

// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the window's icon, drawn in code, as the files an icon theme
// installs: <folder>/<size>x<size>/<name>.png for each size the launchers of
// common desktops ask for, and <folder>/scalable/<name>.svg from the same
// drawing calls; and <folder>/<name>.ico, the sizes Windows shows, for the
// Windows build.
#include "app/form/form_icons.h"
#include "packaging/ico_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPainter>
#include <QPixmap>
#include <QSvgGenerator>
#include <cstdio>
#include <vector>

namespace {

constexpr int kSizes[] = {16, 24, 32, 48, 64, 128, 256};

bool WritePngs(const QString& folder, const QString& name) {
    for (const int size : kSizes) {
        const QString sizeFolder = QStringLiteral("%1/%2x%2").arg(folder).arg(size);
        const QString file = QStringLiteral("%1/%2.png").arg(sizeFolder, name);
        if (!QDir().mkpath(sizeFolder) || !huegrab::AppIconPixmap(size).save(file, "PNG")) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
            return false;
        }
    }
    return true;
}

bool WriteSvg(const QString& folder, const QString& name) {
    const QString svgFolder = folder + QStringLiteral("/scalable");
    const QString file = QStringLiteral("%1/%2.svg").arg(svgFolder, name);
    if (!QDir().mkpath(svgFolder)) {
        std::fprintf(stderr, "cannot create %s\n", qPrintable(svgFolder));
        return false;
    }
    QSvgGenerator svg;
    svg.setFileName(file);
    svg.setTitle(name);
    svg.setSize(QSize(huegrab::kAppIconCanvas, huegrab::kAppIconCanvas));
    svg.setViewBox(QRect(0, 0, huegrab::kAppIconCanvas, huegrab::kAppIconCanvas));
    {
        QPainter painter;
        if (!painter.begin(&svg)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
            return false;
        }
        huegrab::PaintAppIcon(painter);
    } // the file is complete once the painter ends
    // The generator reports no write failure of its own: check the result.
    if (QFileInfo(file).size() == 0) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
        return false;
    }
    return true;
}

bool WriteIco(const QString& folder, const QString& name) {
    std::vector<QImage> images;
    for (const int size : {16, 24, 32, 48, 64})
        images.push_back(huegrab::AppIconPixmap(size).toImage());
    const QString file = QStringLiteral("%1/%2.ico").arg(folder, name);
    QFile ico(file);
    const QByteArray bytes = huegrab::IcoFile(images);
    if (!ico.open(QIODevice::WriteOnly) || ico.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s FOLDER NAME\n", argv[0]);
        return 2;
    }
    // Drawing needs no screen; a build machine may have none.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const QString name = QString::fromLocal8Bit(argv[2]);
    return WritePngs(folder, name) && WriteSvg(folder, name) && WriteIco(folder, name) ? 0 : 1;
}

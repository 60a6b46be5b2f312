#include "support.h"

#include <cstdlib>
#include <fstream>

#include <QImage>
#include <QProcess>
#include <QSettings>
#include <QWidget>

namespace {
// The sum of the three channel differences below which a pixel counts as the
// colour; far below what separates black or grey from any colour tested.
constexpr int kTolerance = 60;
// What JPEG compression moves a flat colour by, each channel.
constexpr int kJpegTolerance = 8;

int Distance(const QColor& a, const QColor& b) {
    return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) + std::abs(a.blue() - b.blue());
}
}  // namespace

bool PaintsColour(QWidget& widget, const QColor& colour) {
    const QImage image = widget.grab().toImage();
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (Distance(image.pixelColor(x, y), colour) <= kTolerance)
                return true;
        }
    }
    return false;
}

double RowShare(const QImage& picture, int y, const QColor& colour) {
    int count = 0;
    for (int x = 0; x < picture.width(); ++x)
        count += Distance(picture.pixelColor(x, y), colour) <= 3 * kJpegTolerance ? 1 : 0;
    return picture.width() > 0 ? static_cast<double>(count) / picture.width() : 0;
}

void WriteFile(const std::filesystem::path& path, const std::string& text) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

QString MakeZip(const QString& folder, const QString& name, const QStringList& entries) {
    const QString scratch = folder + QStringLiteral("/scratch-") + name;
    for (const QString& entry : entries)
        WriteFile((scratch + u'/' + entry).toStdString(), "a;b;\r\n1;2;\r\n");
    const QString archive = folder + u'/' + name;
    QProcess zip;
    zip.setWorkingDirectory(scratch);
    zip.start(QStringLiteral("zip"), QStringList{QStringLiteral("-q"), archive} + entries);
    zip.waitForFinished();
    return archive;
}

void KeepSettingsIn(const QString& folder) {
    for (const QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat})
        QSettings::setPath(format, QSettings::UserScope, folder);
}

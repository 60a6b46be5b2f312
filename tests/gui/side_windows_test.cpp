#include <filesystem>
#include <fstream>
#include <memory>

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QPainter>
#include <QProcess>
#include <QRadioButton>
#include <QScreen>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QWindow>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "about_box.h"
#include "app_windows.h"
#include "ex_info_form.h"
#include "form_main.h"
#include "look.h"
#include "scripted_host.h"
#include "set_box.h"
#include "support.h"
#include "windows_fixture.h"

using namespace cadrix;
using namespace cadrix::app;
namespace fs = std::filesystem;

namespace {

// How much dark the text leaves on white: a bold face must leave clearly more.
double InkOf(const QString& text, const QFont& font) {
    QImage picture(200, 40, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(picture.rect(), Qt::AlignCenter, text);
    painter.end();
    double ink = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            ink += 255 - qGray(picture.pixel(x, y));
    return ink;
}

QFont RegularOf(QFont font) {
    font.setBold(false);
    return font;
}

// Makes a folder unwritable, or writable again. Permissions do not stop root,
// so root sets the immutable flag instead, where the file system has it.
bool LockFolder(const std::string& folder, bool lock) {
    if (geteuid() != 0)
        return ::chmod(folder.c_str(), lock ? 0555 : 0755) == 0;
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0)
        return false;
    int flags = 0;
    bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (done) {
        flags = lock ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        done = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    ::close(fd);
    return done;
}

const QString kSamples = QStringLiteral(CADRIX_SOURCE_DIR "/samples");
// The virtual screen the tests run on.
constexpr QSize kScreen{1600, 1200};

// The standard JPEG luminance and chrominance tables, in natural order.
constexpr int kLuminance[64] = {16, 11, 10, 16, 24,  40,  51,  61,  12, 12, 14, 19, 26,  58,  60,  55,
                                14, 13, 16, 24, 40,  57,  69,  56,  14, 17, 22, 29, 51,  87,  80,  62,
                                18, 22, 37, 56, 68,  109, 103, 77,  24, 35, 55, 64, 81,  104, 113, 92,
                                49, 64, 78, 87, 103, 121, 120, 101, 72, 92, 95, 98, 112, 100, 103, 99};
constexpr int kChrominance[64] = {17, 18, 24, 47, 99, 99, 99, 99, 18, 21, 26, 66, 99, 99, 99, 99,
                                  24, 26, 56, 99, 99, 99, 99, 99, 47, 66, 99, 99, 99, 99, 99, 99,
                                  99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99,
                                  99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99};
// Where the i-th value of a DQT segment lies in natural order.
constexpr int kZigzag[64] = {0,  1,  8,  16, 9,  2,  3,  10, 17, 24, 32, 25, 18, 11, 4,  5,  12, 19, 26, 33, 40, 48,
                             41, 34, 27, 20, 13, 6,  7,  14, 21, 28, 35, 42, 49, 56, 57, 50, 43, 36, 29, 22, 15, 23,
                             30, 37, 44, 51, 58, 59, 52, 45, 38, 31, 39, 46, 53, 60, 61, 54, 47, 55, 62, 63};

int QualityValue(int base, int quality) {
    const int scale = quality < 50 ? 5000 / quality : 200 - quality * 2;
    return std::clamp((base * scale + 50) / 100, 1, 255);
}

struct JpegMarkers {
    bool baseline = false;                   // a start-of-frame 0 segment
    bool progressive = false;                // a start-of-frame 2 segment
    std::map<int, std::vector<int>> tables;  // DQT tables by their number, in segment order
};

JpegMarkers ReadMarkers(const QByteArray& data) {
    JpegMarkers markers;
    int pos = 2;
    while (pos + 4 <= data.size() && static_cast<unsigned char>(data[pos]) == 0xFF) {
        const int marker = static_cast<unsigned char>(data[pos + 1]);
        const int length = (static_cast<unsigned char>(data[pos + 2]) << 8) | static_cast<unsigned char>(data[pos + 3]);
        if (marker == 0xC0)
            markers.baseline = true;
        if (marker == 0xC2)
            markers.progressive = true;
        if (marker == 0xDB) {
            int at = pos + 4;
            while (at < pos + 2 + length) {
                const int id = static_cast<unsigned char>(data[at]) & 0x0F;
                std::vector<int> values;
                for (int i = 0; i < 64; ++i)
                    values.push_back(static_cast<unsigned char>(data[at + 1 + i]));
                markers.tables[id] = values;
                at += 65;
            }
        }
        if (marker == 0xDA)
            break;
        pos += 2 + length;
    }
    return markers;
}

}  // namespace

class SideWindowsTest : public WindowsFixture {
    Q_OBJECT

private:

    QToolButton* toggle() { return form().pages()->findChild<QToolButton*>(QStringLiteral("SpeedButton2")); }
    QComboBox* chooser() { return form().pages()->findChild<QComboBox*>(QStringLiteral("ComboBox3")); }

    void loadSamples() {
        m_host->openAnswers = {kSamples + QStringLiteral("/start.zip"), kSamples + QStringLiteral("/end.zip")};
        form().butTS1Click();
        form().butTS2Click();
        QVERIFY(form().pages()->isVisible());
    }

    int itemEndingIn(const QString& position) {
        for (int i = 0; i < chooser()->count(); ++i)
            if (chooser()->itemText(i).endsWith(QStringLiteral(", ") + position))
                return i;
        return -1;
    }

    void choose(int index) {
        chooser()->setCurrentIndex(index);
        emit chooser()->activated(index);
    }

private slots:
    void init() {
        openRoom(false);
        createWindows();
        form().move(100, 100);
        form().show();
        form().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form()));
        QTRY_VERIFY(form().firstActivationDone());
    }

    void cleanup() { closeRoom(); }

    // The pictures copied at start instead of decoded: what the window shows
    // is what their PNG files hold, transparency and all.
    void compiledPicturesHoldTheirPngPixels_data() {
        QTest::addColumn<QString>("name");
        for (const char* name : {"images/grass", "images/splash", "images/emblem", "icons/cadrix", "icons/tab0",
                                 "cursors/arrow", "cursors/hand", "stars/level3", "status/gold", "status/gold_small"})
            QTest::newRow(name) << QString::fromLatin1(name);
    }

    void compiledPicturesHoldTheirPngPixels() {
        QFETCH(QString, name);
        const QImage decoded = QPixmap(QStringLiteral(CADRIX_SOURCE_DIR "/resources/") + name + QStringLiteral(".png")).toImage();
        QVERIFY(!decoded.isNull());
        QCOMPARE(CompiledPicture(QStringLiteral(":/") + name + QStringLiteral(".pixels")).toImage(), decoded);
    }

    void dialogsOpenCentredOnTheScreenWhereverTheWindowIs() {
        form().move(0, 0);
        const QPoint screenCentre = QGuiApplication::primaryScreen()->availableGeometry().center();
        for (QDialog* dialog : std::initializer_list<QDialog*>{&m_windows->setBox(), &m_windows->aboutBox()}) {
            dialog->show();
            QVERIFY2((dialog->frameGeometry().center() - screenCentre).manhattanLength() <= 2,
                     qPrintable(dialog->objectName()));
            dialog->hide();
        }
    }

    void fontChoiceReachesEveryWindowAndTheSkillsGrid() {
        QTableView* skills = form().grid(GridId::StringGrid3);
        auto* date = form().findChild<QLabel*>(QStringLiteral("Label35"));
        auto* aboutText = m_windows->aboutBox().findChild<QLabel*>(QStringLiteral("Comments"));
        auto* radio = m_windows->setBox().findChild<QRadioButton*>(QStringLiteral("RadioButton2"));
        auto* panelGrid = m_windows->exInfoForm().grid();
        const QString panelWindowFamily = m_windows->exInfoForm().font().family();

        m_windows->setBox().RadioButton3Click();
        for (QWidget* control : std::initializer_list<QWidget*>{
                 skills, date, aboutText, radio, panelGrid, form().grid(GridId::StringGrid_ru),
                 form().pages()})
            QCOMPARE(control->font().family(), QStringLiteral("Calibri"));
        QCOMPARE(form().font().family(), QStringLiteral("Calibri"));
        QCOMPARE(m_windows->aboutBox().font().family(), QStringLiteral("Calibri"));
        QCOMPARE(m_windows->exInfoForm().font().family(), panelWindowFamily);
        QCOMPARE(skills->font().pointSize(), 8);
        QCOMPARE(date->font().pixelSize(), 12);  // sizes stay
        // Styles stay too: the product name is bold, the author link underlined.
        auto* product = m_windows->aboutBox().findChild<QLabel*>(QStringLiteral("ProductName"));
        auto* author = m_windows->aboutBox().findChild<QLabel*>(QStringLiteral("Label1"));
        QCOMPARE(product->font().family(), QStringLiteral("Calibri"));
        QVERIFY(product->font().bold());
        QVERIFY(author->font().underline());
        QVERIFY(form().findChild<QLabel*>(QStringLiteral("Label11"))->font().bold());
        m_windows->setBox().RadioButton4Click();
        QVERIFY2(InkOf(product->text(), product->font()) > 1.2 * InkOf(product->text(), RegularOf(product->font())),
                 "the bold product name is drawn no darker than regular text");
        m_windows->setBox().RadioButton3Click();

        m_windows->setBox().RadioButton1Click();
        QCOMPARE(skills->font().family(), QStringLiteral("MS Sans Serif"));
        QCOMPARE(skills->font().pointSize(), 7);
        QCOMPARE(form().grid(GridId::StringGrid1)->font().pixelSize(), 11);
        m_windows->setBox().RadioButton2Click();
        QCOMPARE(panelGrid->font().family(), QStringLiteral("Arial"));
        QCOMPARE(skills->font().pointSize(), 7);
    }

    // The settings, the About box and the pages are made when first needed:
    // made after a choice, they show it as if they had been there.
    void windowsMadeAfterAFontChoiceShowIt() {
        form().chooseFont(FontFamily::Calibri);
        QCOMPARE(m_windows->aboutBox().findChild<QLabel*>(QStringLiteral("Comments"))->font().family(),
                 QStringLiteral("Calibri"));
        QCOMPARE(m_windows->setBox().findChild<QRadioButton*>(QStringLiteral("RadioButton2"))->font().family(),
                 QStringLiteral("Calibri"));
        QTableView* skills = form().grid(GridId::StringGrid3);
        QCOMPARE(skills->font().family(), QStringLiteral("Calibri"));
        QCOMPARE(skills->font().pointSize(), 8);
        QCOMPARE(form().findChild<QLabel*>(QStringLiteral("Label35"))->font().pixelSize(), 12);
    }

    void panelToggleOpensThePanelBesideTheWindow() {
        QVERIFY(!toggle()->isHidden());
        QVERIFY(!toggle()->isEnabled());
        QCOMPARE(toggle()->text(), QStringLiteral(">>"));
        QCOMPARE(toggle()->toolTip(), QStringLiteral("Открыть детальную статистику"));
        loadSamples();
        QVERIFY(!toggle()->isEnabled());
        choose(0);
        QVERIFY(toggle()->isEnabled());

        QTest::mouseClick(toggle(), Qt::LeftButton);
        ExInfoForm* panel = &m_windows->exInfoForm();
        QVERIFY(panel->isVisible());
        QCOMPARE(toggle()->text(), QStringLiteral("<<"));
        QCOMPARE(toggle()->toolTip(), QStringLiteral("Скрыть детальную статистику"));
        const QRect main = form().frameGeometry();
        QCOMPARE(panel->pos(), QPoint(main.left() + main.width() + 5, main.top() + 125));
        QCOMPARE(panel->grid()->item(0, 0)->text(), QStringLiteral("Имя"));
        QCOMPARE(panel->grid()->item(10, 0)->text(), QStringLiteral("Единые"));

        // Near the screen's right edge the panel goes to the left.
        form().move(kScreen.width() - main.width() - 100, 200);
        QTRY_COMPARE(form().frameGeometry().top(), 200);
        QCOMPARE(panel->pos(), QPoint(form().frameGeometry().left() - panel->width() - 5, 325));
        form().move(300, 150);
        QTRY_COMPARE(form().frameGeometry().top(), 150);
        QCOMPARE(panel->pos(), QPoint(300 + form().frameGeometry().width() + 5, 275));

        toggle()->click();
        QVERIFY(!panel->isVisible());
        QCOMPARE(toggle()->text(), QStringLiteral(">>"));
        QCOMPARE(toggle()->toolTip(), QStringLiteral("Показать детальную статистику"));
        // A hidden panel does not follow.
        form().move(120, 120);
        QTRY_COMPARE(form().frameGeometry().top(), 120);
        QCOMPARE(panel->pos().y(), 275);
    }

    // A tool window of the main window: it goes and comes back with it, and
    // it goes when what it showed is gone.
    void panelFollowsTheMainWindowAndLeavesWithItsPlayer() {
        loadSamples();
        choose(0);
        toggle()->click();
        ExInfoForm* panel = &m_windows->exInfoForm();
        QVERIFY(panel->isVisible());
        QCOMPARE(panel->parentWidget(), &form());
        QCOMPARE(panel->windowHandle()->transientParent(), form().windowHandle());
        QVERIFY(!panel->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        form().showMinimized();
        QTRY_VERIFY(!panel->isVisible());
        QCOMPARE(toggle()->text(), QStringLiteral("<<"));
        form().showNormal();
        QTRY_VERIFY(panel->isVisible());

        // A failed choice brings the splash back.
        m_host->openAnswers = {MakeZip(m_dir->path(), QStringLiteral("skills.zip"), {QStringLiteral("skills.csv")})};
        form().butTS2Click();
        QVERIFY(!panel->isVisible());
        QCOMPARE(toggle()->text(), QStringLiteral(">>"));
        QCOMPARE(toggle()->toolTip(), QStringLiteral("Показать детальную статистику"));
        // A new load empties the chooser.
        loadSamples();
        choose(0);
        toggle()->click();
        m_host->openAnswers = {kSamples + QStringLiteral("/end.zip")};
        form().butTS2Click();
        QCOMPARE(chooser()->currentIndex(), -1);
        QVERIFY(!panel->isVisible());
        QCOMPARE(toggle()->text(), QStringLiteral(">>"));
        // Minimised and restored without it, the window brings no panel back.
        form().showMinimized();
        form().showNormal();
        QVERIFY(!panel->isVisible());
    }

    void panelRowsAreResizedByDraggingTheirBottomLines() {
        ExInfoForm& panel = m_windows->exInfoForm();
        panel.show();
        QTableWidget* grid = panel.grid();
        QWidget* cells = grid->viewport();
        // 17 pixels of the cell and the grid line under it.
        QCOMPARE(grid->rowHeight(0), 18);

        // The bottom line of row 0 is its last pixel line.
        QTest::mousePress(cells, Qt::LeftButton, {}, QPoint(40, 17));
        QTest::mouseMove(cells, QPoint(40, 27));
        QTest::mouseRelease(cells, Qt::LeftButton, {}, QPoint(40, 27));
        QCOMPARE(grid->rowHeight(0), 28);
        QCOMPARE(grid->rowHeight(1), 18);

        // A click inside a row selects it and resizes nothing.
        QTest::mouseClick(cells, Qt::LeftButton, {}, QPoint(40, 36));
        QCOMPARE(grid->rowHeight(0), 28);
        QCOMPARE(grid->rowHeight(1), 18);
        QVERIFY(grid->selectionModel()->isRowSelected(1, {}));
        panel.hide();
    }

    void panelShowsTheValuesOfAGoalkeeperAndAForward() {
        loadSamples();
        const int keeper = itemEndingIn(QStringLiteral("GK"));
        const int forward = itemEndingIn(QStringLiteral("FW"));
        QVERIFY(keeper >= 0 && forward >= 0);

        QProcess report;
        report.start(QStringLiteral(CADRIX_REPORT_EXE),
                     {QStringLiteral("--format"), QStringLiteral("json"), QStringLiteral("--choose"),
                      QString::number(keeper), QStringLiteral("--choose"), QString::number(forward),
                      QString::fromStdString(form().folders().start.string()),
                      QString::fromStdString(form().folders().end.string())});
        QVERIFY(report.waitForFinished(60000));
        const QJsonArray choices =
            QJsonDocument::fromJson(report.readAllStandardOutput()).object().value(QStringLiteral("choices")).toArray();
        QCOMPARE(choices.size(), 2);

        QTableWidget* grid = m_windows->exInfoForm().grid();
        for (int i = 0; i < 2; ++i) {
            choose(i == 0 ? keeper : forward);
            const QJsonArray rows = choices[i].toObject().value(QStringLiteral("ExInfoForm")).toArray();
            QCOMPARE(rows.size(), 11);
            for (int row = 0; row < 11; ++row)
                QCOMPARE(grid->item(row, 1)->text(), rows[row].toArray()[1].toString());
        }
        QCOMPARE(grid->item(1, 1)->text(), QStringLiteral("FW"));
        QCOMPARE(grid->item(0, 1)->text() + QStringLiteral(", FW"), chooser()->itemText(forward));
    }

    void screenshotNeedsAChosenPlayer() {
        loadSamples();
        form().SpeedButton1Click();
        QCOMPARE(m_host->messages.size(), std::size_t{1});
        QCOMPARE(m_host->messages[0].text, QStringLiteral("Выберите игрока для сохранения"));
        QCOMPARE(m_host->messages[0].caption, QStringLiteral("Ошибка"));
        QCOMPARE(m_host->messages[0].icon, QMessageBox::Critical);
        QVERIFY(m_host->saveDialogNames.empty());
        QVERIFY(m_host->grabbedRects.empty());
    }

    void screenshotIsABaselineJpegOfTheSkillsArea() {
        loadSamples();
        const int forward = itemEndingIn(QStringLiteral("FW"));
        choose(forward);
        const QString target = m_dir->path() + QStringLiteral("/shot.jpg");
        m_host->saveAnswers = {target};
        form().SpeedButton1Click();

        // The skills grid's own rectangle on the screen, its border included.
        QTableView* skills = form().grid(GridId::StringGrid3);
        const QSize size(521, 401);
        QCOMPARE(m_host->grabbedRects.size(), std::size_t{1});
        QCOMPARE(m_host->grabbedRects[0], QRect(skills->mapToGlobal(QPoint(0, 0)), size));
        QString name = chooser()->itemText(forward);
        name.chop(4);
        QCOMPARE(m_host->saveDialogNames[0], name);
        QCOMPARE(m_host->saveDialogFilters[0], QStringLiteral("JPEG Image (*.jpg)"));
        QCOMPARE(m_host->messages.size(), std::size_t{1});
        QCOMPARE(m_host->messages[0].text, QStringLiteral("Сохранено в ") + target);
        QCOMPARE(m_host->messages[0].caption, QStringLiteral("Информация"));
        QCOMPARE(m_host->messages[0].icon, QMessageBox::Information);

        QImage decoded(target);
        QCOMPARE(decoded.size(), size);
        QFile file(target);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const JpegMarkers markers = ReadMarkers(file.readAll());
        QVERIFY(markers.baseline);
        QVERIFY(!markers.progressive);
        QCOMPARE(markers.tables.size(), std::size_t{2});
        for (int i = 0; i < 64; ++i) {
            QCOMPARE(markers.tables.at(0)[i], QualityValue(kLuminance[kZigzag[i]], 90));
            QCOMPARE(markers.tables.at(1)[i], QualityValue(kChrominance[kZigzag[i]], 90));
        }
        // The screen could not be read: the grid's own pixels, the header
        // row in the button colour at the top, then the white skill rows.
        for (int y = 3; y <= 12; ++y)
            QVERIFY2(RowShare(decoded, y, skills->palette().color(QPalette::Button)) > 0.6,
                     qPrintable(QString::number(y)));
        for (int y = 20; y <= 28; ++y)
            QVERIFY2(RowShare(decoded, y, skills->palette().color(QPalette::Base)) > 0.6,
                     qPrintable(QString::number(y)));

        // A screen that can be read is used pixel for pixel.
        QPixmap red(size);
        red.fill(Qt::red);
        m_host->screen = red;
        m_host->saveAnswers = {target};
        form().SpeedButton1Click();
        const QColor centre = QImage(target).pixelColor(size.width() / 2, size.height() / 2);
        QVERIFY(centre.red() > 240 && centre.green() < 20 && centre.blue() < 20);
    }

    void failedScreenshotWriteLeavesNothingBehind() {
        loadSamples();
        choose(0);
        // The target is taken by a folder: the picture cannot be put there.
        const QString folder = m_dir->path() + QStringLiteral("/shots");
        fs::create_directories((folder + QStringLiteral("/taken.jpg")).toStdString());
        std::ofstream((folder + QStringLiteral("/taken.jpg/inside.txt")).toStdString()) << "keep";
        m_host->saveAnswers = {folder + QStringLiteral("/taken.jpg")};
        form().SpeedButton1Click();
        QCOMPARE(m_host->messages.size(), std::size_t{1});
        QCOMPARE(m_host->messages[0].caption, QStringLiteral("Cadrix v2.0"));
        QCOMPARE(m_host->messages[0].icon, QMessageBox::Critical);
        std::size_t entries = 0;
        for ([[maybe_unused]] const auto& entry : fs::directory_iterator(folder.toStdString()))
            ++entries;
        QCOMPARE(entries, std::size_t{1});
        QVERIFY(fs::exists((folder + QStringLiteral("/taken.jpg/inside.txt")).toStdString()));

        // A folder that cannot be written, holding an earlier picture: the
        // error box, no confirmation, no stray file, the earlier picture intact.
        const QString locked = m_dir->path() + QStringLiteral("/locked");
        fs::create_directories(locked.toStdString());
        std::ofstream((locked + QStringLiteral("/shot.jpg")).toStdString(), std::ios::binary) << "earlier picture";
        if (LockFolder(locked.toStdString(), true)) {
            m_host->saveAnswers = {locked + QStringLiteral("/shot.jpg")};
            form().SpeedButton1Click();
            LockFolder(locked.toStdString(), false);
            QCOMPARE(m_host->messages.size(), std::size_t{2});
            QCOMPARE(m_host->messages[1].caption, QStringLiteral("Cadrix v2.0"));
            QCOMPARE(m_host->messages[1].icon, QMessageBox::Critical);
            std::size_t lockedEntries = 0;
            for ([[maybe_unused]] const auto& entry : fs::directory_iterator(locked.toStdString()))
                ++lockedEntries;
            QCOMPARE(lockedEntries, std::size_t{1});
            std::ifstream earlier((locked + QStringLiteral("/shot.jpg")).toStdString(), std::ios::binary);
            std::string content((std::istreambuf_iterator<char>(earlier)), std::istreambuf_iterator<char>());
            QCOMPARE(content, std::string("earlier picture"));
        } else {
            qWarning("running as root on a file system without the immutable flag: locked folder not tried");
        }
        // A folder that does not exist.
        const QString missing = m_dir->path() + QStringLiteral("/no/such/folder/shot.jpg");
        m_host->saveAnswers = {missing};
        form().SpeedButton1Click();
        QVERIFY(!fs::exists(missing.toStdString()));
        QVERIFY(m_host->messages.back().text.contains(QStringLiteral("Cannot create file")));
    }

    void aboutLinkTurnsPurpleAndOpensTheAuthorsPage() {
        auto* link = m_windows->aboutBox().findChild<QLabel*>(QStringLiteral("Label1"));
        QVERIFY(PaintsColour(*link, QColor(0, 0, 255)));
        m_windows->aboutBox().Label1Click();
        QVERIFY(PaintsColour(*link, QColor(128, 0, 128)));
        QVERIFY(!PaintsColour(*link, QColor(0, 0, 255)));
        QCOMPARE(m_host->openedUrls.size(), std::size_t{1});
        QCOMPARE(m_host->openedUrls[0], QUrl(kAuthorPageUrl));
    }
};

int main(int argc, char* argv[]) {
    // A screen wide enough for the panel on either side of the window.
    QTemporaryDir config;
    const QString path = config.filePath(QStringLiteral("screens.json"));
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(QStringLiteral("{\"screens\": [{\"name\": \"wide\", \"x\": 0, \"y\": 0, \"width\": %1, "
                                  "\"height\": %2, \"logicalDpi\": 96, \"logicalBaseDpi\": 96, \"dpr\": 1}]}")
                       .arg(kScreen.width())
                       .arg(kScreen.height())
                       .toUtf8());
    file.close();
    qputenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + path).toUtf8());
    QApplication app(argc, argv);
    QTemporaryDir settings;
    KeepSettingsIn(settings.path());
    cadrix::app::LoadResources();
    SideWindowsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "side_windows_test.moc"

// A picture named at start ("Open With") or dropped onto the window opens exactly as one chosen
// through File > "Open...": same messages, remembered path, pass and files.

#include <QCoreApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QTimer>
#include <QUrl>
#include <filesystem>
#include <functional>
#include <memory>

#include "app/PictureToOpen.h"
#include "tests/app/WindowFakes.h"

namespace {

// What opening a file left behind: the messages, the remembered path, whether the pass was
// scheduled, and the files that pass wrote.
struct Outcome {
    QStringList messages;
    QString remembered;
    bool scheduled = false;
    int interval = 0;
    std::string screen;
    std::string sidecar;
    bool operator==(const Outcome&) const = default;
};

// Drags data over the window and drops it there; whether the window took the drag.
bool Drop(frmMain& window, const QMimeData& data) {
    const QPoint at(400, 100);
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    enter.ignore();
    QCoreApplication::sendEvent(&window, &enter);
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&window, &drop);
    return enter.isAccepted();
}

std::unique_ptr<QMimeData> Urls(const QList<QUrl>& urls) {
    auto data = std::make_unique<QMimeData>();
    data->setUrls(urls);
    return data;
}

class OpenWithTest : public WindowTest {
protected:
    // Opens a file in a freshly started window the given way, then runs the pass it scheduled.
    Outcome Open(const std::function<void(frmMain&)>& how) {
        std::filesystem::remove(ScreenPath());
        std::filesystem::remove(SidecarPath());
        settings.values.clear();
        messages.texts.clear();
        ResetConversionState(ConversionSettingsFields{});
        window = std::make_unique<frmMain>(
            frmMainServices{&chooser, &messages, &settings, [](QWidget*) {}});
        window->Form_Load();
        how(*window);
        QCoreApplication::processEvents();

        Outcome outcome{messages.texts,
                        settings.values.value(QStringLiteral("Settings/Root")),
                        window->Timer1->isActive(),
                        window->Timer1->interval(),
                        {},
                        {}};
        if (outcome.scheduled) window->Timer1_Timer();
        if (OutputsExist()) {
            outcome.screen = ReadFileBytes(ScreenPath());
            outcome.sidecar = ReadFileBytes(SidecarPath());
        }
        return outcome;
    }
    Outcome Choose(const QString& path) {
        return Open([&](frmMain& w) {
            chooser.answers = {path};
            w.mnuFileOpen_Click();
        });
    }
};

TEST_F(OpenWithTest, ArgumentsAndDropsOpenAsTheOpenCommandDoes) {
    const std::string picture = MakePicture("card.bmp", 413, 287, "BMP");
    WriteFileBytes(pictures / "notes.jpg", "these are not the bytes of a picture");
    std::filesystem::create_directory(pictures / "folder.bmp");
    const QString before = QDir::currentPath();
    QDir::setCurrent(QString::fromStdString(pictures.Path().string()));

    for (const char* name : {"card.bmp", "notes.jpg", "missing.bmp", "folder.bmp"}) {
        SCOPED_TRACE(name);
        const QString path = QString::fromStdString(pictures / name);
        const Outcome chosen = Choose(path);

        const char* const argv[] = {"quillix", name};  // relative to the current folder
        EXPECT_EQ(PictureFromArguments(2, argv), path);
        EXPECT_EQ(Open([&](frmMain& w) { w.OpenPictureLater(*PictureFromArguments(2, argv)); }),
                  chosen);

        const auto dropped = Urls({QUrl::fromLocalFile(path)});
        bool taken = false;
        EXPECT_EQ(Open([&](frmMain& w) { taken = Drop(w, *dropped); }), chosen);
        EXPECT_TRUE(taken);
    }
    QDir::setCurrent(before);
    const char* const alone[] = {"quillix"};
    EXPECT_EQ(PictureFromArguments(1, alone), std::nullopt) << "no argument, nothing to open";

    // The outcomes compared above are those of a conversion and of each message.
    const Outcome converted = Choose(QString::fromStdString(picture));
    EXPECT_TRUE(converted.messages.isEmpty());
    EXPECT_EQ(converted.remembered, QString::fromStdString(picture));
    EXPECT_EQ(converted.interval, 1000);
    EXPECT_EQ(converted.screen.size(), 20480u);
    EXPECT_EQ(Choose(QString::fromStdString(pictures / "missing.bmp")).messages,
              QStringList{"File Not Found : " + QString::fromStdString(pictures / "missing.bmp")});
    EXPECT_TRUE(Choose(QString::fromStdString(pictures / "notes.jpg"))
                    .messages.value(0)
                    .startsWith("Cannot Read Picture : "));
}

TEST_F(OpenWithTest, OfSeveralDroppedTheFirstOpensAndOnlyLocalFiles) {
    const std::string first = MakePicture("first.bmp", 64, 48, "BMP");
    const std::string second = MakePicture("second.bmp", 320, 256, "BMP");
    const QUrl web(QStringLiteral("https://example.org/picture.bmp"));
    struct Case {
        const char* what;
        QList<QUrl> urls;
        bool taken;
        QString remembered;
    };
    const Case cases[] = {
        {"several",
         {QUrl::fromLocalFile(QString::fromStdString(first)),
          QUrl::fromLocalFile(QString::fromStdString(second))},
         true,
         QString::fromStdString(first)},
        {"a web address", {web}, false, {}},
        {"a web address first",
         {web, QUrl::fromLocalFile(QString::fromStdString(second))},
         false,
         {}},
        {"no file", {}, false, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto data = Urls(c.urls);
        bool taken = !c.taken;
        const Outcome outcome = Open([&](frmMain& w) { taken = Drop(w, *data); });
        EXPECT_EQ(taken, c.taken);
        EXPECT_EQ(outcome.remembered, c.remembered);
        EXPECT_EQ(outcome.scheduled, c.taken);
        EXPECT_TRUE(outcome.messages.isEmpty());
    }
    // Text that is not a list of files is no drop either.
    QMimeData text;
    text.setText(QString::fromStdString(first));
    EXPECT_FALSE(Drop(*window, text));
}

}  // namespace

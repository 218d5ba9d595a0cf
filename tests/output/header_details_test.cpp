// The header details window on the offscreen platform: the numbered lines, the
// captions, the two description files or the notes in their place, the main
// window's menu entries while the window exists, and one window at a time.
#include <QAction>
#include <QFile>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QtTest>

#include <memory>

#include "output/header_details.h"

namespace halvorn {

namespace {

// A stand-in for the main window with the entries the header window governs.
struct MenuFixture {
    QMainWindow window;
    QMenu* edit = nullptr;
    QMenu* irGraph = nullptr;
    QAction* options = nullptr;
    std::array<QAction*, 3> saves{};
    QAction* details = nullptr;

    MenuFixture() {
        QMenu* file = window.menuBar()->addMenu("File");
        for (std::size_t k = 0; k < saves.size(); ++k) {
            saves[k] = file->addAction(QStringLiteral("Save Data %1").arg(k));
        }
        edit = window.menuBar()->addMenu("Edit");
        edit->addAction("Copy");
        QMenu* view = window.menuBar()->addMenu("View");
        irGraph = view->addMenu("IR Graph");
        details = view->addAction("File Header Details");
        options = window.menuBar()->addAction("Options");
        window.resize(400, 300);
    }

    HeaderMenuItems Items() const {
        HeaderMenuItems items;
        items.disabledWhileShown = {
            edit->menuAction(), irGraph->menuAction(), options, saves[0], saves[1], saves[2]};
        items.detailsEntry = details;
        return items;
    }

    // How many of the six governed entries are enabled.
    int EnabledCount() const {
        int count = 0;
        for (QAction* action : Items().disabledWhileShown) {
            count += action->isEnabled() ? 1 : 0;
        }
        return count;
    }
};

QString Plain(QTextEdit* box) {
    return box->toPlainText();
}

}  // namespace

class HeaderDetailsTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<ViewerState> state_;
    std::unique_ptr<MenuFixture> menus_;
    std::unique_ptr<HeaderDetailsHost> host_;

  private slots:
    void init() {
        state_ = std::make_unique<ViewerState>();
        state_->spectrum.ProgramFolder = HALVORN_DATA_DIR;
        for (int i = 0; i < 21; ++i) {
            state_->spectrum.HeaderList.push_back("line " + std::to_string(i));
        }
        state_->spectrum.HeaderList[2] =
            "25 \xB0"
            "C";  // Latin-1 degree sign
        menus_ = std::make_unique<MenuFixture>();
        menus_->window.show();
        host_ = std::make_unique<HeaderDetailsHost>(*state_, menus_->Items(), &menus_->window);
    }

    void cleanup() {
        host_.reset();
        menus_.reset();
        state_.reset();
    }

    void showsTheNumberedLinesCaptionsAndFiles() {
        host_->Show();
        HeaderDetailsWindow* w = host_->Window();
        QVERIFY(w != nullptr);
        QCOMPARE(w->windowTitle(), QStringLiteral("File Header Details"));
        QCOMPARE(w->objectName(), QStringLiteral("FormHeader"));

        const QStringList lines = w->HeaderLines()->toPlainText().split('\n');
        QCOMPARE(lines.size(), 21);
        QCOMPARE(lines[0], QStringLiteral("01  line 0"));
        QCOMPARE(lines[2], QString::fromUtf8("03  25 \xC2\xB0"
                                             "C"));
        QCOMPARE(lines[18], QStringLiteral("19  line 18"));
        QCOMPARE(lines[19], QStringLiteral("??  line 19"));
        QCOMPARE(lines[20], QStringLiteral("20  line 20"));
        QVERIFY(w->HeaderLines()->isReadOnly());
        QCOMPARE(w->HeaderLines()->objectName(), QStringLiteral("RText2"));

        QCOMPARE(w->findChild<QLabel*>("Label1")->text(),
                 QStringLiteral("Header of the currently opened file"));
        QCOMPARE(w->findChild<QLabel*>("Label2")->text(),
                 QStringLiteral("Header of a Spectral Data File (From RX I FT-IR Manual)"));

        QCOMPARE(w->Title()->objectName(), QStringLiteral("RichTextBox1"));
        QVERIFY(Plain(w->Title()).startsWith(QStringLiteral("File Header Details")));
        QCOMPARE(w->Description()->objectName(), QStringLiteral("RText1"));
        const QString description = Plain(w->Description());
        QVERIFY(description.contains(QStringLiteral("#GR")));
        QVERIFY(description.contains(QStringLiteral("CM-1")));
        QVERIFY(!description.contains(QStringLiteral("\\")));
        // The description's headings are bold.
        QTextCursor cursor = w->Description()->document()->find(QStringLiteral("#DATA"));
        QVERIFY(!cursor.isNull());
        QVERIFY(cursor.charFormat().fontWeight() >= QFont::Bold);
    }

    void aMissingOrUnreadableFileShowsANote() {
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        {
            QFile notRtf(folder.filePath("HeaderTitle.rtf"));
            QVERIFY(notRtf.open(QIODevice::WriteOnly));
            notRtf.write("just words, no rich text");
        }
        state_->spectrum.ProgramFolder = QFile::encodeName(folder.path()).toStdString();
        host_->Show();
        HeaderDetailsWindow* w = host_->Window();
        QCOMPARE(Plain(w->Description()),
                 QStringLiteral("(PEFileHeader.rtf was not found beside the program)"));
        QCOMPARE(Plain(w->Title()), QStringLiteral("(HeaderTitle.rtf could not be read)"));
        // The numbered lines do not depend on the files.
        QVERIFY(w->HeaderLines()->toPlainText().startsWith(QStringLiteral("01  line 0")));

        host_->Close();
        QVERIFY(QDir(folder.path()).mkdir("PEFileHeader.rtf"));
        host_->Show();
        QCOMPARE(Plain(host_->Window()->Description()),
                 QStringLiteral("(PEFileHeader.rtf could not be read)"));
    }

    void menuEntriesFollowTheWindow() {
        QCOMPARE(menus_->EnabledCount(), 6);
        host_->Show();
        HeaderDetailsWindow* w = host_->Window();
        // Loading disables the six and hides the window's own entry.
        QCOMPARE(menus_->EnabledCount(), 0);
        QVERIFY(!menus_->details->isVisible());
        QTRY_COMPARE(QApplication::activeWindow(), w);
        QCOMPARE(menus_->EnabledCount(), 0);

        // Another window becomes active: the six are usable there.
        menus_->window.activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), &menus_->window);
        QCOMPARE(menus_->EnabledCount(), 6);
        QVERIFY(!menus_->details->isVisible());

        // Back to the header window.
        w->activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), w);
        QCOMPARE(menus_->EnabledCount(), 0);

        // Closing gives everything back, whether active or not.
        w->close();
        QCOMPARE(menus_->EnabledCount(), 6);
        QVERIFY(menus_->details->isVisible());
        QVERIFY(!host_->IsOpen());
        QTRY_VERIFY(host_->Window() == nullptr);
    }

    void aSecondRequestBringsTheOpenWindowToTheFront() {
        host_->Show();
        QPointer<HeaderDetailsWindow> first = host_->Window();
        QTRY_COMPARE(QApplication::activeWindow(), first.data());
        menus_->window.activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), &menus_->window);
        QCOMPARE(menus_->EnabledCount(), 6);

        state_->spectrum.HeaderList = {"another file"};
        host_->Show();
        QCOMPARE(host_->Window(), first.data());
        QTRY_COMPARE(QApplication::activeWindow(), first.data());
        QCOMPARE(menus_->EnabledCount(), 0);
        // Built once per showing: the open window keeps the lines it was built with.
        QVERIFY(first->HeaderLines()->toPlainText().startsWith(QStringLiteral("01  line 0")));
        QCOMPARE(menus_->window.findChildren<HeaderDetailsWindow*>().size(), 1);

        // The Open commands close it; the next request builds it afresh.
        host_->Close();
        QVERIFY(!host_->IsOpen());
        QVERIFY(menus_->details->isVisible());
        QTRY_VERIFY(first.isNull());
        host_->Close();  // closing again is harmless
        host_->Show();
        QCOMPARE(host_->Window()->HeaderLines()->toPlainText(), QStringLiteral("01  another file"));
    }

    void endingTheProgramWithTheWindowOpenRestoresTheEntries() {
        host_->Show();
        QCOMPARE(menus_->EnabledCount(), 0);
        host_.reset();
        QCOMPARE(menus_->EnabledCount(), 6);
        QVERIFY(menus_->details->isVisible());

        // Entries that are gone before the window do not trouble it.
        host_ = std::make_unique<HeaderDetailsHost>(*state_, menus_->Items(), &menus_->window);
        host_->Show();
        delete menus_->options;
        menus_->options = nullptr;
        delete menus_->details;
        menus_->details = nullptr;
        host_->Close();
    }
};

}  // namespace halvorn

QTEST_MAIN(halvorn::HeaderDetailsTest)
#include "header_details_test.moc"

// Opening files in the main window without the three format entries: the
// command line, a drop, "Open...", the recent files; and the main window at a
// size smaller than the spectrum window.
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QUrl>
#include <QtTest>

#include <memory>

#include "app/main_window.h"
#include "app/recent_files.h"
#include "app/sample_files.h"
#include "output/header_details.h"
#include "window/graph_window.h"
#include "window/picture_box.h"
#include "window/scripted_prompts.h"

namespace halvorn {

namespace {

using test::JcampBytes;
using test::PrnBytes;
using test::WriteFile;

QString Native(const QString& path) {
    return QDir::toNativeSeparators(path);
}

}  // namespace

class OpeningTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<QTemporaryDir> program_;
    std::unique_ptr<QTemporaryDir> config_;
    std::unique_ptr<QTemporaryDir> files_;
    std::unique_ptr<ScriptedPrompts> prompts_;
    std::unique_ptr<MainWindow> main_;

    void Start(const QString& file = QString()) {
        main_ = std::make_unique<MainWindow>(program_->path(), *prompts_, config_->path());
        main_->show();
        main_->Start(file);
    }
    SpectrumWindow* Form5() const { return main_->Form5(); }
    QString Title() const { return Form5()->windowTitle(); }
    QString Opened() const {
        return QString::fromStdString(main_->State().spectrum.OpenedFilePath);
    }
    bool MultGlobalShown() const {
        return Form5()->findChild<QWidget*>("MultGlobalBox")->isVisibleTo(Form5());
    }
    QString File(const QString& name, const QByteArray& bytes) const {
        const QString path = files_->filePath(name);
        WriteFile(path, bytes);
        return path;
    }
    QMenu* RecentMenu() const { return main_->MenuAction("mnuRecentFiles")->menu(); }
    // The recent-files entries as the menu shows them when it opens.
    QList<QAction*> RecentEntries() const {
        emit RecentMenu()->aboutToShow();
        return RecentMenu()->actions();
    }

  private slots:
    void init() {
        program_ = std::make_unique<QTemporaryDir>();
        config_ = std::make_unique<QTemporaryDir>();
        files_ = std::make_unique<QTemporaryDir>();
        prompts_ = std::make_unique<ScriptedPrompts>();
        QVERIFY(QFile::copy(HALVORN_DATA_DIR "/Demo.sp", program_->filePath("Demo.sp")));
    }

    void cleanup() {
        main_.reset();
        QVERIFY(QApplication::overrideCursor() == nullptr);
    }

    void aFileOnTheCommandLineOpensInsteadOfTheDemonstration() {
        const QString jcamp = File("film.jdx", JcampBytes());
        Start(jcamp);
        QCOMPARE(Title(), QString("Infrared Spectrum: File - (film.jdx)"));
        QCOMPARE(main_->State().spectrum.PointCount, 1751);
        QCOMPARE(Opened(), Native(jcamp));
        QVERIFY(MultGlobalShown());  // as "Open JCampDX" leaves them
        QVERIFY(main_->Form5Frame()->isVisible());
        QVERIFY(prompts_->messages.empty());
        QVERIFY(main_->InputEnabled());
        QCOMPARE(main_->RecentFilePaths(), QStringList{QFileInfo(jcamp).absoluteFilePath()});
    }

    void aFileThatCannotBeReadLeavesTheDemonstration() {
        // A broken file of a known kind, and a file that is not there: the
        // reader's message each time, then the start as without a file.
        for (const QString& bad :
             {File("broken.sp", "not a spectrum\r\n"), files_->filePath("missing.jdx")}) {
            prompts_->messages.clear();
            Start(bad);
            QCOMPARE(prompts_->messages.size(), std::size_t{1});
            QCOMPARE(prompts_->messages[0].title, QString("Cannot open file!"));
            QCOMPARE(Title(), QString("Infrared Spectrum: File - (Demo.sp)"));
            QCOMPARE(main_->State().spectrum.PointCount, 3551);
            QVERIFY(Opened().isEmpty());
            QVERIFY(!MultGlobalShown());
            QVERIFY(main_->Form5Frame()->isVisible());
            QVERIFY(main_->RecentFilePaths().isEmpty());
            QVERIFY(main_->InputEnabled());
        }
    }

    void aDroppedFileOpensLikeAnOpenCommand() {
        Start();
        const QString prn = File("table.prn", PrnBytes());
        // Peak marking on and the header details shown: the drop ends the one
        // and closes the other, as every Open command does.
        Form5()->PeakMarkClick();
        main_->HeaderDetailsCommand();
        QVERIFY(main_->HeaderDetails()->IsOpen());

        QMimeData web;
        web.setUrls({QUrl("https://example.org/film.jdx")});
        QDragEnterEvent refused(QPoint(100, 100), Qt::CopyAction, &web, Qt::LeftButton,
                                Qt::NoModifier);
        QApplication::sendEvent(main_.get(), &refused);
        QVERIFY(!refused.isAccepted());

        // The drop reaches the window as the window system delivers it, over
        // the graph and over a number box; both lead to the main window.
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(prn)});
        QWidget* plot = Form5()->Picture(1);
        const QPoint over = plot->mapTo(main_.get(), plot->rect().center());
        QDragEnterEvent enter(over, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(main_->windowHandle(), &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(over), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(main_->windowHandle(), &drop);
        QVERIFY(drop.isAccepted());
        QTRY_COMPARE(Title(), QString("Infrared Spectrum: File - (table.prn)"));
        QCOMPARE(main_->State().spectrum.PointCount, 1701);
        QCOMPARE(Opened(), Native(prn));
        QCOMPARE(Form5()->findChild<QPushButton*>("Command3")->text(), QString("Peak Mark"));
        QVERIFY(!main_->HeaderDetails()->IsOpen());
        QVERIFY(prompts_->messages.empty());
        QVERIFY(main_->InputEnabled());

        const QString jcamp = File("film.jdx", JcampBytes());
        QMimeData second;
        second.setUrls({QUrl::fromLocalFile(jcamp)});
        QWidget* box = Form5()->findChild<QWidget*>("Text2");
        const QPoint onBox = box->mapTo(main_.get(), box->rect().center());
        QDragEnterEvent enterBox(onBox, Qt::CopyAction, &second, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(main_->windowHandle(), &enterBox);
        QDropEvent dropBox(QPointF(onBox), Qt::CopyAction, &second, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(main_->windowHandle(), &dropBox);
        QTRY_COMPARE(Title(), QString("Infrared Spectrum: File - (film.jdx)"));
        QCOMPARE(qobject_cast<QLineEdit*>(box)->text(), QString("1"));
        // No part of the window keeps a drop for itself.
        for (QWidget* w : main_->findChildren<QWidget*>()) {
            QVERIFY2(!w->acceptDrops() || !w->isVisible(), qPrintable(w->objectName()));
        }
    }

    void openOffersEveryFormatAndChoosesTheReaderFromTheFile() {
        Start();
        const QString prn = File("table.prn", PrnBytes());
        prompts_->openAnswers = {prn};
        main_->MenuAction("mnuOpen")->trigger();
        // Every extension of the reader table in the first filter, one filter
        // per format, and every file last.
        const QStringList parts = prompts_->openFilters.back().split('|');
        QVERIFY(parts[0].startsWith("All supported files ("));
        QStringList every;
        for (const ReaderEntry& reader : ReaderTable()) {
            QStringList patterns;
            for (std::string_view extension : reader.extensions) {
                patterns << "*" + QString::fromLatin1(extension);
            }
            QVERIFY2(parts.contains(patterns.join(';')), reader.menuName);
            every << patterns;
        }
        QCOMPARE(parts[1], every.join(';'));
        QCOMPARE(parts.size(), 2 + 2 * static_cast<qsizetype>(ReaderTable().size()) + 2);
        QCOMPARE(parts.mid(parts.size() - 2), QStringList({"All Files(*.*)", "*.*"}));
        QCOMPARE(Title(), QString("Infrared Spectrum: File - (table.prn)"));
        QCOMPARE(Opened(), Native(prn));
        // The dialogs start where the last file was opened from; the very
        // first one where the last run's newest recent file is.
        QCOMPARE(prompts_->openFolders.back(), QString());
        const QString jcamp = File("film.jdx", JcampBytes());
        prompts_->openAnswers = {jcamp};
        main_->OpenCommand(FileFormat::Jcamp);
        QCOMPARE(QFileInfo(prompts_->openFolders.back()).canonicalFilePath(),
                 QFileInfo(files_->path()).canonicalFilePath());
        QCOMPARE(Title(), QString("Infrared Spectrum: File - (film.jdx)"));
        // Each format entry offers every file too.
        for (const QString& filter : prompts_->openFilters) {
            QVERIFY(filter.endsWith("|All Files(*.*)|*.*"));
        }

        // A cancelled "Open..." only ends the modes and closes the details.
        Form5()->PeakMarkClick();
        main_->HeaderDetailsCommand();
        main_->OpenAnyCommand();
        QCOMPARE(Form5()->findChild<QPushButton*>("Command3")->text(), QString("Peak Mark"));
        QVERIFY(!main_->HeaderDetails()->IsOpen());
        QCOMPARE(Title(), QString("Infrared Spectrum: File - (film.jdx)"));
        QVERIFY(prompts_->messages.empty());
    }

    void aFileOfNoKnownKindIsToldAndNothingChanges() {
        Start();
        // No extension of the table, and bytes of no format.
        const QString odd = File("notes.xyz", "Dear reader,\r\nnothing here.\r\n");
        QVERIFY(!main_->OpenPath(odd));
        QCOMPARE(prompts_->messages.size(), std::size_t{1});
        QCOMPARE(prompts_->messages[0].title, QString("Cannot open file!"));
        QVERIFY(prompts_->messages[0].text.contains(Native(odd)));
        QCOMPARE(Title(), QString("Infrared Spectrum: File - (Demo.sp)"));
        QCOMPARE(main_->State().spectrum.PointCount, 3551);
        QVERIFY(main_->InputEnabled());
        // A file without an extension is read as its first bytes show.
        const QString bare = File("film", JcampBytes());
        QVERIFY(main_->OpenPath(bare));
        QCOMPARE(Title(), QString("Infrared Spectrum: File - (film)"));
        QCOMPARE(main_->State().spectrum.PointCount, 1751);
        QVERIFY(MultGlobalShown());
    }

    void recentFilesKeepTheLastEightNewestFirst() {
        Start();
        QVERIFY(!main_->MenuAction("mnuRecentFiles")->isEnabled());  // nothing yet
        QStringList opened;
        for (int k = 0; k < 10; ++k) {
            opened.prepend(
                QFileInfo(File(QString("t%1.prn").arg(k), PrnBytes())).absoluteFilePath());
            QVERIFY(main_->OpenPath(opened.front()));
        }
        QCOMPARE(main_->RecentFilePaths(), opened.mid(0, 8));
        // Opening one again moves it to the top, once.
        QVERIFY(main_->OpenPath(opened[5]));
        QStringList expected = opened.mid(0, 8);
        expected.move(5, 0);
        QCOMPARE(main_->RecentFilePaths(), expected);
        // A failed read is no recent file.
        const QString broken = File("broken.sp", "nothing\r\n");
        QVERIFY(!main_->OpenPath(broken));
        QCOMPARE(main_->RecentFilePaths(), expected);

        // A file that is gone shows greyed; the others can be chosen.
        QVERIFY(QFile::remove(expected[2]));
        QList<QAction*> entries = RecentEntries();
        QCOMPARE(entries.size(), 8);
        for (int k = 0; k < 8; ++k) {
            QCOMPARE(entries[k]->data().toString(), expected[k]);
            QVERIFY(entries[k]->text().contains(Native(expected[k])));
            QCOMPARE(entries[k]->isEnabled(), k != 2);
        }
        entries[4]->trigger();
        QCOMPARE(Opened(), Native(expected[4]));
        QCOMPARE(main_->RecentFilePaths().front(), expected[4]);

        // The list outlives the window, in the configuration folder given,
        // and the settings file is not touched by it.
        const QStringList kept = main_->RecentFilePaths();
        main_.reset();
        Start();
        QCOMPARE(main_->RecentFilePaths(), kept);
        QVERIFY(QFile::exists(config_->filePath("RecentFiles.ini")));
        QVERIFY(!QFile::exists(config_->filePath("Halvorn.ini")));
        QVERIFY(!QFile::exists(program_->filePath("Halvorn.ini")));
        // The first dialog of the new run starts in the newest file's folder.
        main_->OpenAnyCommand();
        QCOMPARE(prompts_->openFolders.back(), QFileInfo(kept.front()).absolutePath());
    }

    void recentListArithmetic() {
        QStringList list;
        for (int k = 0; k < 12; ++k) {
            list = WithRecentFile(list, QString("/d/f%1.sp").arg(k));
        }
        QCOMPARE(list.size(), kMaxRecentFiles);
        QCOMPARE(list.front(), QString("/d/f11.sp"));
        QCOMPARE(list.back(), QString("/d/f4.sp"));
        // Two spellings of one file are one entry.
        list = WithRecentFile(list, "/d/./x/../f7.sp");
        QCOMPARE(list.front(), QString("/d/f7.sp"));
        QCOMPARE(list.count("/d/f7.sp"), 1);
        QCOMPARE(list.size(), kMaxRecentFiles);
    }

    void aSmallMainWindowScrollsToTheRightHandControls() {
        Start();
        main_->resize(800, 560);
        QVERIFY(QTest::qWaitForWindowExposed(main_.get()));
        auto* area = main_->findChild<QMdiArea*>("MdiArea");
        QWidget* viewport = area->viewport();
        QWidget* restart = Form5()->findChild<QWidget*>("Command1");  // "Move Labels"
        QWidget* diagnostics = Form5()->findChild<QWidget*>("DiagnosticList");
        const auto rightEdge = [&](QWidget* w) {
            return w->mapTo(main_.get(), QPoint(w->width(), w->height())) -
                   viewport->mapTo(main_.get(), QPoint(0, 0));
        };
        QTRY_VERIFY(area->horizontalScrollBar()->isVisible());
        QVERIFY(rightEdge(restart).x() > viewport->width());  // cut off at first
        area->horizontalScrollBar()->setValue(area->horizontalScrollBar()->maximum());
        area->verticalScrollBar()->setValue(area->verticalScrollBar()->maximum());
        QTRY_VERIFY(rightEdge(restart).x() <= viewport->width());
        QVERIFY(rightEdge(diagnostics).x() <= viewport->width());
        QVERIFY(rightEdge(diagnostics).y() <= viewport->height());
        // A main window large enough needs no scroll bar.
        main_->resize(1200, 900);
        QTRY_VERIFY(!area->horizontalScrollBar()->isVisible());
    }
};

}  // namespace halvorn

QTEST_MAIN(halvorn::OpeningTest)
#include "opening_test.moc"

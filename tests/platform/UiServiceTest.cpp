// The UI service: scripted answers, recorded prompts, failures for prompts
// nobody scripted, and the Qt service's real widgets.
#include "platform/ui/UiService.h"
#include "platform/core/File.h"
#include "platform/ui/App.h"
#include "platform/ui/Wnd.h"
#include "support/ModalAnswer.h"
#include "support/ScriptedUi.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>

#include <gtest/gtest-spi.h>

namespace
{
const char kObstacleFilter[] = "Friendly Obstacle Array (*.fob)|*.fob|All Files (*.*)|*.*||";

// The shape of the program's list loading: open the named file; when it
// does not open, say so and offer a file dialog, until one opens or the
// user cancels. Answers the name finally opened, or empty.
CString OpenWithRetry(const CString& firstName)
{
    CString name = firstName;
    for (;;)
    {
        CFile file;
        if (file.Open(name, CFile::modeRead))
            return name;
        AfxMessageBox("The file " + name + " could not be opened.", MB_OK | MB_ICONSTOP);
        CFileDialog dialog(TRUE, "fob", name, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST, kObstacleFilter);
        if (dialog.DoModal() != IDOK)
            return CString();
        name = dialog.GetPathName();
    }
}
}  // namespace

TEST(UiServiceTest, ScriptAnswersYesNoCancelAndRecordsEachBox)
{
    ScopedScriptedUi ui;
    ui->ExpectMessage("Warning!", "Starting the clock will end\r\nthe deployment phase.", IDNO)
        .ExpectMessage("Warning!", "Starting the clock will end\r\nthe deployment phase.", IDYES)
        .ExpectMessage("Kedravin", "Save changes to alpha.asg?", IDCANCEL);

    CWnd owner;
    EXPECT_EQ(owner.MessageBox("Starting the clock will end\r\nthe deployment phase.", "Warning!",
                               MB_YESNOCANCEL | MB_ICONEXCLAMATION),
              IDNO);
    EXPECT_EQ(owner.MessageBox("Starting the clock will end\r\nthe deployment phase.", "Warning!",
                               MB_YESNOCANCEL | MB_ICONEXCLAMATION),
              IDYES);
    SetMessageBoxCaption("Kedravin");
    EXPECT_EQ(AfxMessageBox("Save changes to alpha.asg?", MB_YESNOCANCEL | MB_ICONQUESTION), IDCANCEL);

    const auto& shown = ui->GetShown();
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[0].type, MB_YESNOCANCEL | MB_ICONEXCLAMATION);
    EXPECT_EQ(shown[2].caption, "Kedravin");
    EXPECT_EQ(shown[2].type & MB_ICONMASK, MB_ICONQUESTION);
    for (const auto& p : shown)
        EXPECT_TRUE(p.scripted);
}

TEST(UiServiceTest, FileOpenRetryLoopWalksMissingThenGoodThenCancel)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const CString good = (dir.path() + "/friendly.fob").toUtf8().constData();
    const CString bad = (dir.path() + "/nothere.fob").toUtf8().constData();
    {
        QFile f(dir.path() + "/friendly.fob");
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("x");
    }
    const CString missing = (dir.path() + "/missing").toUtf8().constData();

    ScopedScriptedUi ui;
    ui->ExpectMessage("Kedravin", "The file " + missing + ".fob could not be opened.", IDOK)
        .ExpectFileDialog(TRUE, bad)
        .ExpectMessage("Kedravin", "The file " + bad + " could not be opened.", IDOK)
        // Typed without its extension: the dialog's default one is added.
        .ExpectFileDialog(TRUE, (dir.path() + "/friendly").toUtf8().constData());
    SetMessageBoxCaption("Kedravin");
    EXPECT_EQ(OpenWithRetry(missing + ".fob"), good);

    const auto& shown = ui->GetShown();
    ASSERT_EQ(shown.size(), 4u);
    EXPECT_EQ(shown[1].kind, CScriptedUi::Kind::FileDialog);
    EXPECT_EQ(shown[1].file.filter, kObstacleFilter);
    EXPECT_EQ(shown[1].file.defaultExt, "fob");
    EXPECT_TRUE(shown[1].file.bOpen);

    // Then the user gives up: the load fails.
    ui->ExpectMessage("Kedravin", "The file " + missing + ".fob could not be opened.", IDOK).ExpectFileDialog(TRUE, "");
    EXPECT_EQ(OpenWithRetry(missing + ".fob"), "");
    EXPECT_EQ(ui->GetShown().back().answer, IDCANCEL);
}

TEST(UiServiceTest, UnscriptedPromptFailsWithItsText)
{
    EXPECT_NONFATAL_FAILURE(
        {
            ScopedScriptedUi ui;
            SetMessageBoxCaption("Kedravin");
            // The cautious answer comes back: No for Yes/No.
            EXPECT_EQ(AfxMessageBox("Do you wish to continue?", MB_YESNO | MB_ICONQUESTION), IDNO);
        },
        "Unscripted message box: caption \"Kedravin\", text \"Do you wish to continue?\"");

    EXPECT_NONFATAL_FAILURE(
        {
            ScopedScriptedUi ui;
            ui->ExpectMessage("Error", "Expected text", IDOK);
            CWnd owner;
            owner.MessageBox("Other text", "Error", MB_OK);
        },
        "Other text");

    EXPECT_NONFATAL_FAILURE(
        {
            ScopedScriptedUi ui;
            ui->ExpectMessage("Error", "Never shown", IDOK);
        },
        "Never shown");
}

TEST(UiServiceTest, FileFilterSplitsIntoNamesAndPatterns)
{
    const auto entries = ParseFileFilter("Friendly Obstacle Array (*.fob)|*.fob|Pictures|*.bmp;*.map||");
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].name, "Friendly Obstacle Array (*.fob)");
    EXPECT_EQ(entries[0].patterns, "*.fob");
    EXPECT_EQ(entries[1].patterns, "*.bmp;*.map");
    EXPECT_TRUE(ParseFileFilter("").empty());
    EXPECT_TRUE(ParseFileFilter("dangling|").empty());
}

// The Qt service shows real widgets; a timer plays the user.
TEST(UiServiceTest, QtServiceShowsARealMessageBox)
{
    ASSERT_EQ(SetUiService(nullptr), nullptr);
    QString seenTitle;
    QString seenText;
    int buttons = 0;
    CModalAnswer answer(
        [&](QWidget* modal)
        {
            auto* box = qobject_cast<QMessageBox*>(modal);
            if (box == nullptr)
                return false;
            seenTitle = box->windowTitle();
            seenText = box->text();
            buttons = static_cast<int>(box->buttons().size());
            for (QAbstractButton* b : box->buttons())
                if (b->text() == "&No")
                    b->click();
            return true;
        });
    CWnd owner;
    EXPECT_EQ(owner.MessageBox("Replace it?\r\nReally?", "Warning", MB_YESNOCANCEL | MB_ICONEXCLAMATION), IDNO);
    EXPECT_EQ(seenTitle, "Warning");
    EXPECT_EQ(seenText, "Replace it?\nReally?");
    EXPECT_EQ(buttons, 3);
}

TEST(UiServiceTest, QtServiceFileDialogAnswersTheChosenFile)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QFile(dir.path() + "/units.unt").open(QIODevice::WriteOnly);
    const CString oldDir = GetCurrentDir();
    ASSERT_TRUE(SetCurrentDir(dir.path().toUtf8().constData()));
    QString filters;
    CModalAnswer answer(
        [&](QWidget* modal)
        {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            if (dialog == nullptr)
                return false;
            filters = dialog->nameFilters().join("|");
            dialog->selectFile(dir.path() + "/units.unt");
            QMetaObject::invokeMethod(dialog, "accept", Qt::DirectConnection);
            return true;
        });
    CFileDialog dialog(TRUE, "unt", nullptr, OFN_FILEMUSTEXIST, "Unit Array (*.unt)|*.unt||");
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.GetFileName(), "units.unt");
    EXPECT_EQ(dialog.GetFileTitle(), "units");
    EXPECT_EQ(dialog.GetFileExt(), "unt");
    EXPECT_EQ(filters, "Unit Array (*.unt)");
    SetCurrentDir(oldDir);
}

// A file the code page cannot name is refused with its character shown,
// and the dialog asks again; an accented name is answered in the code page.
TEST(UiServiceTest, QtServiceFileDialogRefusesANameTheCodePageCannotHold)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString omega = dir.path() + QString::fromUtf8("/\xCE\xA9mega.unt");
    const QString cafe = dir.path() + QString::fromUtf8("/caf\xC3\xA9.unt");
    QFile(omega).open(QIODevice::WriteOnly);
    QFile(cafe).open(QIODevice::WriteOnly);
    const CString oldDir = GetCurrentDir();
    ASSERT_TRUE(SetCurrentDir(dir.path().toUtf8().constData()));
    int nStep = 0;
    QString refusal;
    CModalAnswer answer(
        [&](QWidget* modal)
        {
            if (auto* dialog = qobject_cast<QFileDialog*>(modal))
            {
                // The dialog shown again has the name box in focus, where
                // selectFile leaves the text to the typist.
                if (QWidget* pFocus = dialog->focusWidget())
                    pFocus->clearFocus();
                dialog->selectFile(nStep == 0 ? omega : cafe);
                QMetaObject::invokeMethod(dialog, "accept", Qt::DirectConnection);
                return nStep++ > 0;
            }
            if (auto* box = qobject_cast<QMessageBox*>(modal))
            {
                refusal = box->text();
                box->buttons().front()->click();
            }
            return false;
        });
    CFileDialog dialog(TRUE, "unt", nullptr, OFN_FILEMUSTEXIST, "Unit Array (*.unt)|*.unt||");
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.GetFileName(), "caf\xE9.unt");
    EXPECT_EQ(refusal, omega + QString::fromUtf8("\nThe character '\xCE\xA9' cannot be used in a file name."));
    SetCurrentDir(oldDir);
}

// An answer waiting for a window that never opens fails the test and lets
// the call under test return, instead of leaving it to CTest's timeout.
TEST(UiServiceTest, AnAnswerWhoseWindowNeverOpensFailsInsteadOfHanging)
{
    ASSERT_EQ(SetUiService(nullptr), nullptr);
    auto waitsForAFileDialog = [](QWidget* modal) { return qobject_cast<QFileDialog*>(modal) != nullptr; };
    CWnd owner;
    int result = 0;
    // A message box opens where a file dialog was expected.
    EXPECT_NONFATAL_FAILURE(
        {
            CModalAnswer answer(waitsForAFileDialog, 300);
            result = owner.MessageBox("Not the dialog the test waits for", "Warning", MB_YESNO);
        },
        "did not open within 300 ms");
    EXPECT_EQ(result, IDNO) << "the box was closed as by its escape button";
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);

    // Nothing opens at all.
    EXPECT_NONFATAL_FAILURE({ CModalAnswer answer(waitsForAFileDialog, 300); }, "never opened");
}

#include "ExerciseFixture.h"
#include "LoginControls.h"
#include "ModalAnswer.h"
#include "core/board/BandTable.h"
#include "core/board/ChromosomeBitmapOps.h"
#include "ui/app/ProgramWindows.h"
#include "ui/app/TPasswordDlg.h"
#include "ui/exercise/AnswerPairView.h"

#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <QtTest>

using namespace queldo;
using namespace queldo::test;

namespace {

struct Window : ExerciseFixture
{
    QString imageFile(int row, int piece) const
    {
        return dir.filePath("Images/" + form->library().nameAtPosition(row).value_or(QString()) +
                            "/" + bitmapFileName(piece));
    }
};

QString enabledButtons(const TForm1 &form)
{
    const ExerciseControls ui(form);
    // In column order 2 4 1 5 6 3: upper case when enabled.
    QString s;
    for (const QPushButton *b :
         {ui.Button2, ui.Button4, ui.Button1, ui.Button5, ui.Button6, ui.Button3})
        s += b->isEnabled() ? QLatin1Char('E') : QLatin1Char('d');
    return s;
}

// Pictures compared as they are shown.
QImage shown(const QLabel *label)
{
    return label->pixmap().toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
}
QImage shown(const QImage &image)
{
    return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

// A source bitmap of the given size: a dark bar on white.
Bgr24Image block(int width, int height)
{
    Bgr24Image image(width, height);
    for (int y = 1; y < height - 1; ++y)
        for (int x = 1; x < width - 1; ++x)
            std::fill_n(image.row(y) + 3 * x, 3, std::uint8_t(70));
    return image;
}

// A small banded chromosome, as a real photograph shows chromosome 21: a few grey levels only.
Bgr24Image banded(int width, int height)
{
    Bgr24Image image = block(width, height);
    for (int y = 2; y < height - 2; y += 4)
        for (int x = 2; x < width - 2; ++x)
            std::fill_n(image.row(y) + 3 * x, 3, std::uint8_t(y % 8 ? 20 : 150));
    return image;
}

int greyLevels(const QImage &image)
{
    QSet<int> levels;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            levels.insert(qGray(image.pixel(x, y)));
    return int(levels.size());
}

void press(QWidget *widget, QPoint at)
{
    QTest::mousePress(widget, Qt::LeftButton, {}, at);
}
void moveTo(QWidget *widget, QPoint at)
{
    QMouseEvent move(QEvent::MouseMove, QPointF(at), QPointF(widget->mapToGlobal(at)), Qt::NoButton,
                     Qt::LeftButton, {});
    QApplication::sendEvent(widget, &move);
}
void release(QWidget *widget, QPoint at)
{
    QTest::mouseRelease(widget, Qt::LeftButton, {}, at);
}

} // namespace

class TestAnswerWindow : public QObject
{
    Q_OBJECT
private slots:
    void madeAtStartUpAndGivenToTheTraineeAtLogin()
    {
        QTemporaryDir dir;
        QDir root(dir.path());
        root.mkpath("Images");
        writeProblemFolder(root.filePath("Images"), knownProblemNames()[0]);
        root.mkpath("Result/u");
        const auto write = [&](const QString &name, const QByteArray &bytes) {
            QFile file(root.filePath("Result/u/" + name));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(bytes);
        };
        write("u.pas", "pw\r\n");
        write("u.set", "0\r\n0\r\n0\r\n0.699999988079071\r\n");
        write("u.opt", "ideogram=1\r\n");

        ProgramWindows windows(dir.path(), dir.path(), 3);
        QVERIFY(!windows.AnswerWindow().isVisible());
        windows.start();
        const LoginControls loginUi(windows.login());
        loginUi.ID->setText("u");
        loginUi.Password->setText("pw");
        loginUi.OKBtn->click();
        QVERIFY(windows.exercise());
        QCOMPARE(windows.exercise()->AnswerWindow(), &windows.AnswerWindow());
        QVERIFY(control<QCheckBox>(windows.AnswerWindow(), "IdeogramBox")->isChecked());
        // Shown inside the exercise window when the program ends: each window goes once.
        TForm1 &form = *windows.exercise();
        const ExerciseControls ui(form);
        for (QPushButton *button : {ui.Button2, ui.Button4, ui.Button1, ui.Button5})
            button->click();
        QVERIFY(windows.AnswerWindow().isVisible());
        QVERIFY(form.isAncestorOf(&windows.AnswerWindow()));
    }

    void geometryForAWideSpread()
    {
        TForm16 answer;
        SourceBitmaps sources;
        answer.prepare({804, 352}, sources, 1.0f, false);
        QCOMPARE(answer.size(), QSize(784, 352));
        // Inside its 5-pixel frame the karyogram is 774 wide: ten places of 77 in row 1, the
        // last widened to 79 to end 2 pixels short of the row's right edge.
        QCOMPARE(control<QWidget>(answer, "OutputPanel")->width(), 774);
        QCOMPARE(answer.placePanel(8)->geometry(), QRect(616, 0, 77, answer.rowPanel(0)->height()));
        QCOMPARE(answer.placePanel(9)->x(), 693);
        QCOMPARE(answer.placePanel(9)->width(), 79);
        QCOMPARE(answer.placePanel(23)->width(), 774 - 13 * 55 - 2);
        const int h = control<QWidget>(answer, "OutputPanel")->height();
        QCOMPARE(answer.rowPanel(3)->y(), 3 * h / 4);
        QCOMPARE(answer.placeLabel(0)->pos(), QPoint(2, 2));
        QCOMPARE(answer.placeLabel(13)->text(), QStringLiteral("7"));
        QCOMPARE(answer.placePanel(0)->palette().color(QPalette::Window), QColor(0xFFFFFF));
    }

    void sexChromosomeLabels_data()
    {
        QTest::addColumn<bool>("female");
        QTest::addColumn<QString>("label44");
        QTest::addColumn<QString>("label45");
        QTest::newRow("female") << true << "X"
                                << "X";
        QTest::newRow("male") << false << "X"
                              << "Y";
    }
    void sexChromosomeLabels()
    {
        QFETCH(bool, female);
        QFETCH(QString, label44);
        QFETCH(QString, label45);
        TForm16 answer;
        SourceBitmaps sources;
        answer.prepare({804, 352}, sources, 1.0f, female);
        QCOMPARE(answer.placeLabel(44)->text(), label44);
        QCOMPARE(answer.placeLabel(45)->text(), label45);
    }

    void largerThanItsPlaceShrinksToFit()
    {
        TForm16 answer;
        SourceBitmaps sources;
        sources.fill(block(61, 30));
        sources[0] = block(20, 200); // a chromosome 1 far taller than its row
        answer.prepare({400, 300}, sources, 1.0f, false);
        // A 370-wide karyogram gives row 2 places 26 wide; at full size the pictures are 61 by
        // 29, and chromosome 1 is taller than the rows: all shrink alike until each fits.
        QCOMPARE(answer.placePanel(10)->width(), 26);
        for (int k = 0; k < PieceCount; ++k) {
            const QRect shown = answer.image(k)->geometry();
            QVERIFY2(answer.placePanel(k)->rect().contains(shown), qPrintable(QString::number(k)));
        }
        QCOMPARE(answer.image(10)->size(), answer.image(30)->size());
        QVERIFY(answer.image(10)->width() <= 26);
        QCOMPARE(answer.image(10)->parentWidget(), answer.placePanel(10));

        // Far too small for the rows: places of no width, and nothing breaks.
        answer.prepare({25, 8}, sources, 1.0f, false);
        for (int k = 0; k < MostPlaces; ++k)
            QVERIFY(answer.placePanel(k)->width() >= 0);
        control<QCheckBox>(answer, "IdeogramBox")->setChecked(true);
        answer.prepare({0, 0}, sources, 1.0f, true);
    }

    void aPairShownLargeAndBack()
    {
        TForm16 answer;
        std::array<Bgr24Image, MostPieces> sources;
        sources.fill(banded(14, 26));
        answer.prepare({804, 352}, sources, 1.0f, false);
        answer.show();
        QVERIFY(QTest::qWaitForWindowExposed(&answer));
        AnswerPairView *view = control<AnswerPairView>(answer, "PairView");

        QTest::mouseClick(answer.image(41), Qt::LeftButton, {}, QPoint(3, 3));
        QVERIFY(view->isVisible());
        QCOMPARE(view->geometry(), control<QWidget>(answer, "OutputPanel")->rect());
        QCOMPARE(view->pair(), 40);
        QVERIFY(
            control<QLabel>(*view, "PairHeading")->text().startsWith(QStringLiteral("21番染色体")));
        for (std::size_t i = 0; i < 2; ++i) {
            const QImage large = view->picture(i)->pixmap().toImage();
            // Readable: far taller than the photograph, and smooth, not blocks of its levels.
            QVERIFY2(large.height() >= 150, qPrintable(QString::number(large.height())));
            QVERIFY(greyLevels(large) > 10);
            QVERIFY(view->ideogram(i)->isVisible());
            QVERIFY(view->ideogram(i)->x() > view->picture(i)->geometry().right());
            QVERIFY(view->rect().contains(view->ideogram(i)->geometry()));
        }
        QVERIFY(view->picture(1)->x() > view->ideogram(0)->geometry().right());

        // The arrows step through the pairs, round the karyogram.
        const auto key = [&](Qt::Key k) { QTest::keyClick(view, k); };
        key(Qt::Key_Right);
        QCOMPARE(view->pair(), 42);
        key(Qt::Key_Right);
        QCOMPARE(view->pair(), 44);
        QVERIFY(control<QLabel>(*view, "PairHeading")
                    ->text()
                    .startsWith(QStringLiteral("性染色体 X・Y")));
        key(Qt::Key_Right);
        QCOMPARE(view->pair(), 0);
        key(Qt::Key_Left);
        QCOMPARE(view->pair(), 44);
        key(Qt::Key_Escape);
        QVERIFY(!view->isVisible());

        // A click anywhere on the large view goes back too; a new answer starts on the karyogram.
        QTest::mouseClick(answer.placePanel(3), Qt::LeftButton, {}, QPoint(2, 30));
        QCOMPARE(view->pair(), 2);
        QTest::mouseClick(view, Qt::LeftButton, {}, QPoint(5, 5));
        QVERIFY(!view->isVisible());
        answer.showPairLarge(45);
        QVERIFY(view->isVisible());
        answer.prepare({804, 352}, sources, 1.0f, true);
        QVERIFY(!view->isVisible());
    }

    void showsTheCellUprightOverTheSpread()
    {
        Window w;
        TForm1 &form = *w.form;
        const ExerciseControls ui(form);
        w.clickList(w.rowOf(false));
        QTest::mouseClick(ui.Button4, Qt::LeftButton);
        // Piece 5 turned upside down on the board.
        QContextMenuEvent context(QContextMenuEvent::Mouse, QPoint(2, 2),
                                  ui.InOutPanel->piece(5)->mapToGlobal(QPoint(2, 2)));
        QApplication::sendEvent(ui.InOutPanel->piece(5), &context);
        const int steps = (12 - form.board().RotationStep[5] + 24) % 24;
        for (int i = 0; i < steps; ++i) {
            QWheelEvent wheel(QPointF(5, 5), QPointF(form.mapToGlobal(QPoint(5, 5))), {},
                              QPoint(0, 120), Qt::NoButton, {}, Qt::NoScrollPhase, false);
            QApplication::sendEvent(ui.ListBox3, &wheel);
        }
        QCOMPARE(form.board().RotationStep[5], 12);
        QTest::mouseClick(ui.Button1, Qt::LeftButton);
        w.showAnswer();

        TForm16 &answer = w.answer;
        QVERIFY(answer.isVisible());
        QCOMPARE(answer.parentWidget(), ui.InOutPanel->spread());
        QCOMPARE(answer.pos(), QPoint(0, 0));
        QCOMPARE(answer.width(), ui.InOutPanel->spread()->width() - 20);
        QCOMPARE(answer.height(), ui.InOutPanel->spread()->height());
        QCOMPARE(answer.placeLabel(45)->text(), QStringLiteral("Y"));
        const SourceBitmaps &sources = ui.InOutPanel->problem().SourceBitmap;
        const QImage upright = renderUpright(sources[5], w.settings().EffectiveScale);
        QCOMPARE(shown(answer.image(5)), shown(upright));
        QVERIFY(form.board().piecePicture[5] != upright);
        // Every piece in the place of its own number.
        for (int k = 0; k < PieceCount; ++k)
            QCOMPARE(answer.image(k)->size(),
                     renderUpright(sources[std::size_t(k)], w.settings().EffectiveScale).size());

        // The exercise window made smaller: the answer follows its spread, every chromosome
        // still whole in its place.
        const int spreadWidth = ui.InOutPanel->spread()->width();
        form.setWindowState(Qt::WindowNoState);
        form.resize(form.width() - 160, form.height() - 120);
        QVERIFY(ui.InOutPanel->spread()->width() < spreadWidth);
        QCOMPARE(answer.width(), ui.InOutPanel->spread()->width() - 20);
        QCOMPARE(answer.height(), ui.InOutPanel->spread()->height());
        for (int k = 0; k < PieceCount; ++k)
            QVERIFY(answer.placePanel(k)->rect().contains(answer.image(k)->geometry()));
    }

    void piecesStayUnderTheAnswer()
    {
        Window w;
        TForm1 &form = *w.form;
        const ExerciseControls ui(form);
        w.scored(0);
        QTest::mouseClick(ui.Button1, Qt::LeftButton); // correcting: pieces move again
        w.showAnswer();
        QWidget *spread = ui.InOutPanel->spread();
        // Dropped on the strip of the spread the answer leaves free, the piece is redrawn there.
        PieceImage *piece = ui.InOutPanel->piece(3);
        const QPoint start = piece->rect().center();
        press(piece, start);
        moveTo(piece, start + QPoint(12, 12));
        const QPoint global = spread->mapToGlobal(QPoint(spread->width() - 8, 40));
        QMouseEvent drop(QEvent::MouseButtonRelease, QPointF(piece->mapFromGlobal(global)),
                         QPointF(global), Qt::LeftButton, Qt::NoButton, {});
        QApplication::sendEvent(piece, &drop);
        QCOMPARE(piece->geometry().right(), spread->width() - 1); // flush with the right edge
        const QObjectList stack = spread->children();
        QVERIFY(stack.indexOf(&w.answer) > stack.indexOf(piece));
    }

    void buttonsAroundTheAnswer()
    {
        Window w;
        TForm1 &form = *w.form;
        const ExerciseControls ui(form);
        w.scored(0);
        QTest::mouseClick(ui.Button1, Qt::LeftButton); // correcting
        QCOMPARE(enabledButtons(form), QStringLiteral("EdEEdE"));
        w.showAnswer();
        QCOMPARE(enabledButtons(form), QStringLiteral("EdddEE"));
        QCOMPARE(form.flow().ScoringCount, 0);
        QCOMPARE(ui.Button5->text(), QStringLiteral("正解表示"));

        QTest::mouseClick(ui.Button2, Qt::LeftButton);
        QVERIFY(!w.answer.isVisible());
        QCOMPARE(enabledButtons(form), QStringLiteral("EEddEE"));
        QTest::mouseClick(ui.Button4, Qt::LeftButton);
        QCOMPARE(enabledButtons(form), QStringLiteral("EEEdEd"));
    }

    void closedBeforeOtherWork_data()
    {
        QTest::addColumn<QString>("action");
        QTest::newRow("next problem") << "Button2";
        QTest::newRow("number list") << "list";
        QTest::newRow("grade analysis") << "Button3";
        QTest::newRow("grade analysis menu") << "SaveAs1";
        QTest::newRow("end") << "Button6";
        QTest::newRow("close box") << "CloseBox";
    }
    void closedBeforeOtherWork()
    {
        QFETCH(QString, action);
        Window w;
        TForm1 &form = *w.form;
        const ExerciseControls ui(form);
        bool shownWhenAnalysisOpened = true;
        QObject::connect(&form, &TForm1::gradeAnalysisRequested,
                         [&] { shownWhenAnalysisOpened = w.answer.isVisible(); });
        w.scored(0);
        w.showAnswer();
        QVERIFY(w.answer.isVisible());
        if (action == "list")
            w.clickList(1);
        else if (action == "SaveAs1")
            ui.SaveAs1->trigger();
        else if (action == "CloseBox")
            QTest::mouseClick(w.answer.closeBox(), Qt::LeftButton);
        else
            QTest::mouseClick(form.findChild<QPushButton *>(action), Qt::LeftButton);
        QVERIFY(!w.answer.isVisible());
        if (action.contains("3") || action == "SaveAs1")
            QVERIFY(!shownWhenAnalysisOpened);
        // Another show builds it again, as printing the answer sheet does.
        form.showAnswerWindow();
        QVERIFY(w.answer.isVisible());
    }

    void showsTheBitmapsInMemory()
    {
        Window w;
        w.scored(0);
        const int row = w.form->flow().CurrentPosition;
        const QImage before = renderUpright(w.ui().InOutPanel->problem().SourceBitmap[7],
                                            w.settings().EffectiveScale);
        QFile changed(w.imageFile(row, 7));
        QVERIFY(changed.open(QIODevice::WriteOnly));
        changed.write("BM not a bitmap any more");
        changed.close();
        w.showAnswer();
        QVERIFY(w.answer.isVisible());
        QCOMPARE(shown(w.answer.image(7)), shown(before));
    }

    void ideogramsBesideTheChromosomes()
    {
        Window w;
        const QString options = w.dir.filePath("Result/u/u.opt");
        w.answer.setOptionsFile(options);
        QVERIFY(!control<QCheckBox>(w.answer, "IdeogramBox")->isChecked());
        w.scored(w.rowOf(false));
        w.showAnswer();
        for (int k = 0; k < MostPlaces; ++k)
            QVERIFY(!w.answer.ideogram(k)->isVisible());

        control<QCheckBox>(w.answer, "IdeogramBox")->click();
        for (int k = 0; k < PieceCount; ++k) {
            const QLabel *image = w.answer.image(k);
            const QLabel *ideogram = w.answer.ideogram(k);
            QVERIFY(ideogram->isVisible());
            QCOMPARE(ideogram->y(), image->y());
            QCOMPARE(ideogram->height(), image->height());
            QVERIFY(ideogram->x() > image->x());
            // The pair is centred together: the chromosome moves left to make room.
            QVERIFY(image->x() < (w.answer.placePanel(k)->width() - image->width()) / 2);
        }
        QFile file(options);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("ideogram=1\r\n"));

        // Remembered for the trainee: another start reads it back.
        TForm16 later;
        later.setOptionsFile(options);
        QVERIFY(control<QCheckBox>(later, "IdeogramBox")->isChecked());
        // Off again: the chromosomes stand alone in the middle of their places.
        control<QCheckBox>(w.answer, "IdeogramBox")->click();
        QVERIFY(!w.answer.ideogram(0)->isVisible());
        QCOMPARE(w.answer.image(0)->x(),
                 (w.answer.placePanel(0)->width() - w.answer.image(0)->width()) / 2);
    }

    void brokenBandTableSaysSoOnce()
    {
        Window w;
        w.answer.useBandTable(BandTable::fromTsv({}, {}));
        control<QCheckBox>(w.answer, "IdeogramBox")->setChecked(true);
        w.scored(0);
        {
            ModalAnswer told(ModalAnswer::defaultButton());
            w.showAnswer();
            QVERIFY(told.lines.join(' ').contains(QStringLiteral("イデオグラムを表示できません")));
        }
        QVERIFY(w.answer.isVisible());
        for (int k = 0; k < MostPlaces; ++k)
            QVERIFY(!w.answer.ideogram(k)->isVisible());
        QCOMPARE(w.answer.image(3)->x(),
                 (w.answer.placePanel(3)->width() - w.answer.image(3)->width()) / 2);
        // Once is enough.
        w.answer.close();
        QTest::mouseClick(w.ui().Button2, Qt::LeftButton);
        QTest::mouseClick(w.ui().Button4, Qt::LeftButton);
        QTest::mouseClick(w.ui().Button1, Qt::LeftButton);
        ModalAnswer again(ModalAnswer::defaultButton());
        w.showAnswer();
        QTest::qWait(50);
        QVERIFY(again.className.isEmpty());
    }

    void movedResizedAndKeptWithinReach()
    {
        Window w;
        w.scored(0);
        w.showAnswer();
        TForm16 &answer = w.answer;
        QWidget *caption = answer.captionBar();
        const QSize size = answer.size();

        press(caption, {300, 8});
        moveTo(caption, {340, 38});
        release(caption, {340, 38});
        QCOMPARE(answer.pos(), QPoint(40, 30));
        QCOMPARE(answer.size(), size);

        // Dragged far off: the caption bar stays where it can be taken again.
        press(caption, {300, 8});
        moveTo(caption, {300 + 5000, 8 + 5000});
        release(caption, {300 + 5000, 8 + 5000});
        const QSize spread = w.ui().InOutPanel->spread()->size();
        QVERIFY(answer.x() <= spread.width() - 40);
        QVERIFY(answer.y() <= spread.height() - answer.captionHeight());
        press(caption, {300, 8});
        moveTo(caption, {300 - 5000, 8 - 5000});
        release(caption, {300 - 5000, 8 - 5000});
        QCOMPARE(answer.y(), 0);
        QVERIFY(answer.x() + answer.width() >= 40);

        // The right edge resizes; the karyogram inside follows: its places reach the new edge
        // and the chromosomes shrink alike, each whole in its place.
        answer.move(0, 0);
        const QImage asPrepared = answer.image(0)->pixmap().toImage();
        const QPoint edge(answer.width() - 2, answer.height() / 2);
        press(&answer, edge);
        moveTo(&answer, edge - QPoint(200, 0));
        release(&answer, edge - QPoint(200, 0));
        QCOMPARE(answer.width(), size.width() - 200);
        QCOMPARE(answer.height(), size.height());
        const int client = size.width() - 200 - 10;
        QCOMPARE(control<QWidget>(answer, "OutputPanel")->width(), client);
        QCOMPARE(answer.placePanel(9)->geometry().right() + 1, client - 2);
        const double ratio = double(client) / (size.width() - 10);
        const QSize shrunk = answer.image(0)->size();
        QVERIFY(qAbs(shrunk.height() - asPrepared.height() * ratio) <= 2);
        for (int k = 0; k < 46; ++k)
            QVERIFY(answer.placePanel(k)->rect().contains(answer.image(k)->geometry()));
        // Back at its first size it shows what it showed at first.
        answer.resize(size);
        QVERIFY(answer.image(0)->pixmap().toImage() == asPrepared);
        answer.resize(size.width() - 200, size.height());
        // The bottom-left corner resizes both ways.
        const QPoint corner(1, answer.height() - 2);
        press(&answer, corner);
        moveTo(&answer, corner + QPoint(50, -60));
        release(&answer, corner + QPoint(50, -60));
        QCOMPARE(answer.geometry(), QRect(50, 0, size.width() - 250, size.height() - 60));
    }
};

QTEST_MAIN(TestAnswerWindow)
#include "test_answer_window.moc"

// The report grid driven as a user drives it: shown (offscreen), clicked, typed
// into, copied from and pasted into through the real clipboard.
#include "guitestsupport.h"

#include "controls/headercustomctrl.h"
#include "controls/listctrlreport.h"
#include "controls/reportmodel.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

#include <stdexcept>

namespace {

QClipboard* Clipboard() { return QGuiApplication::clipboard(); }

// A grid of three columns in a dialog, the way the forms use it, with a default
// button that Enter would press if the grid let Enter through. Rows are written
// "a|b|c;d|e|f".
struct GridDialog {
    explicit GridDialog(const QString& rows = {})
    {
        auto* layout = new QVBoxLayout(&dialog);
        layout->addWidget(grid);
        layout->addWidget(okButton);
        okButton->setDefault(true);
        QObject::connect(okButton, &QPushButton::clicked, &dialog, &QDialog::accept);
        for (const char* title : {"Load", "Strain", "Stress"})
            grid->InsertColumn(QString::fromLatin1(title), 80);
        for (const QString& row : rows.split(QLatin1Char(';'), Qt::SkipEmptyParts))
            grid->AppendRow(row.split(QLatin1Char('|')));
        dialog.resize(400, 300);
    }

    bool Show()
    {
        dialog.show();
        dialog.activateWindow();
        grid->setFocus();
        return QTest::qWaitForWindowActive(&dialog);
    }

    QString Rows() const
    {
        QStringList rows;
        for (int row = 0; row < grid->GetItemCount(); ++row) {
            QStringList cells;
            for (int column = 0; column < grid->GetColumnCount(); ++column)
                cells << grid->GetItemText(row, column);
            rows << cells.join(QLatin1Char('|'));
        }
        return rows.join(QLatin1Char(';'));
    }

    QPoint Anchor() const { return {grid->EditRow(), grid->EditColumn()}; }
    QRect Cell(int row, int col) const { return grid->visualRect(grid->Model()->index(row, col)); }
    QPoint CellCentre(int row, int col) const { return Cell(row, col).center(); }
    // Inside the grid, under the last of a few rows.
    QPoint BelowRows() const { return {10, grid->viewport()->height() - 5}; }
    void Click(QPoint pos, Qt::MouseButton button = Qt::LeftButton) const
    {
        QTest::mouseClick(grid->viewport(), button, {}, pos);
    }
    void SelectRows(int first, int last) const
    {
        const QItemSelection rows(grid->Model()->index(first, 0), grid->Model()->index(last, 0));
        grid->selectionModel()->select(rows, QItemSelectionModel::Select |
                                                 QItemSelectionModel::Rows);
    }

    QDialog dialog;
    CListCtrlReport* grid = new CListCtrlReport(&dialog);
    QPushButton* okButton = new QPushButton(QStringLiteral("OK"), &dialog);
};

} // namespace

class ListCtrlReportTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { IsolateSettings(); }
    void init() { Clipboard()->clear(); }

    void rowsAndColumns()
    {
        GridDialog form(QStringLiteral("a|b|c;d|e|f"));
        form.grid->AppendRowText(QStringLiteral("note"), 2);
        // A short row is padded, a long one cut at the last column.
        form.grid->AppendRow({QStringLiteral("x")});
        form.grid->AppendRow({"1", "2", "3", "4"});
        QVERIFY_THROWS_EXCEPTION(std::invalid_argument, form.grid->AppendRow({}));
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, form.grid->AppendRowText("t", 3));

        // A column added later keeps every cell in its place; writes outside are ignored.
        form.grid->InsertColumn(QStringLiteral("Extra"), 50);
        form.grid->SetItemText(1, 1, QStringLiteral("E\u00e9"));
        form.grid->SetItemText(99, 0, QStringLiteral("lost"));
        QCOMPARE(form.Rows(), QStringLiteral("a|b|c|;d|E\u00e9|f|;||note|;x|||;1|2|3|"));
        QCOMPARE(form.grid->GetItemText(0, -1), QString());

        form.grid->DeleteAllItems();
        QCOMPARE(form.grid->GetItemCount(), 0);
        QCOMPARE(form.grid->GetColumnCount(), 4);
    }

    void pasteText_data()
    {
        QTest::addColumn<QString>("rows");
        QTest::addColumn<QPoint>("anchor"); // row, column; -2: left as it is
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");

        QTest::newRow("fills the anchor row and appends the rest") << "a|b|c;d|e|f" << QPoint(1, 0)
            << "1\t2\t3\n4\t5\t6\n7\t8\t9" << "a|b|c;1|2|3;4|5|6;7|8|9";
        QTest::newRow("inside the table appends nothing")
            << "a|b|c;d|e|f;g|h|i" << QPoint(0, 1) << "1\t2\n3\t4" << "a|1|2;d|3|4;g|h|i";
        QTest::newRow("CRLF lines, blank lines after them add no rows")
            << "" << QPoint(0, 0) << "1\t2\t3\r\n4\t5\t6\r\n \t\n\r\n\n" << "1|2|3;4|5|6";
        QTest::newRow("blank line inside the data is a row")
            << "" << QPoint(0, 0) << "1\t2\t3\n\n4\t5\t6" << "1|2|3;||;4|5|6";
        QTest::newRow("white space only changes nothing")
            << "a|b|c" << QPoint(0, 0) << " \r\n\t\n" << "a|b|c";
        QTest::newRow("before any click starts at the first cell")
            << "a|b|c;d|e|f" << QPoint(-2, 0) << "p\tq" << "p|q|c;d|e|f";
        QTest::newRow("anchor past the last row starts at the first new row")
            << "a|b|c" << QPoint(5, 0) << "1\t2" << "a|b|c;1|2|";
        QTest::newRow("cells beyond the last column are dropped")
            << "a|b|c" << QPoint(0, 1) << "1\t2\t3\t4\n5\t6\t7" << "a|1|2;|5|6";
        QTest::newRow("non-ASCII text survives")
            << "" << QPoint(0, 0) << QStringLiteral("\u00b5m\t\u20ac")
            << QStringLiteral("\u00b5m|\u20ac|");

        QString text;
        QString expected;
        for (int i = 0; i < 100000; ++i) {
            text += QStringLiteral("%1\t%2.5\t-%3\r\n").arg(i).arg(i * 7).arg(i * 3);
            expected += QStringLiteral("%1|%2.5|-%3;").arg(i).arg(i * 7).arg(i * 3);
        }
        expected.chop(1);
        QTest::newRow("a hundred thousand lines land whole")
            << "" << QPoint(0, 0) << text << expected;
    }

    void pasteText()
    {
        QFETCH(QString, rows);
        QFETCH(QPoint, anchor);
        QFETCH(QString, text);
        QFETCH(QString, expected);

        GridDialog form(rows);
        QVERIFY(form.Show());
        if (anchor.x() != -2)
            form.grid->SetPasteAnchor(anchor.x(), anchor.y());
        Clipboard()->setText(text);
        form.grid->PasteFromClipboard();
        QCOMPARE(form.Rows(), expected);
        QVERIFY(!QApplication::overrideCursor());
    }

    void cellEditBeginCommitAndDrop()
    {
        GridDialog form(QStringLiteral("a|b|c;d|e|1.5"));
        QVERIFY(form.Show());
        QSignalSpy edited(form.grid, &CListCtrlReport::CellsEdited);
        // Owners start the edit from the click notification, which right clicks do not send.
        connect(form.grid, &CListCtrlReport::GridClicked, form.grid,
                &CListCtrlReport::BeginCellEdit);
        form.Click(form.CellCentre(1, 2), Qt::RightButton);
        QVERIFY(!form.grid->IsEditing());
        form.Click(form.CellCentre(1, 2));

        QVERIFY(form.grid->IsEditing());
        QLineEdit* editor = form.grid->Editor();
        QVERIFY(editor && editor->isVisible() && editor->hasFocus());
        QCOMPARE(editor->geometry(), form.Cell(1, 2));
        QCOMPARE(editor->selectedText(), QStringLiteral("1.5"));
        QCOMPARE(form.Anchor(), QPoint(1, 2));

        QTest::keyClicks(editor, QStringLiteral("42.5"));
        QTest::keyClick(editor, Qt::Key_Return);
        QVERIFY(!form.grid->IsEditing());
        QVERIFY(!editor->isVisible());
        QVERIFY(form.dialog.isVisible()); // the Enter that ended the edit did not close it
        QCOMPARE(edited.count(), 1);

        // A second click stores the open edit before the next one opens.
        form.Click(form.CellCentre(0, 0));
        editor->setText(QStringLiteral("first"));
        form.Click(form.CellCentre(0, 1));
        QCOMPARE(editor->text(), QStringLiteral("b"));
        QCOMPARE(form.Anchor(), QPoint(0, 1));

        // Below the rows the (unchanged) edit ends, none opens and the anchor stays.
        form.Click(form.BelowRows());
        QVERIFY(!form.grid->IsEditing());
        QCOMPARE(form.Anchor(), QPoint(0, 1));
        QCOMPARE(edited.count(), 2);
        // Moving the paste anchor stores an open edit in its own cell first.
        form.grid->BeginCellEdit(form.CellCentre(0, 2));
        editor->setText(QStringLiteral("c2"));
        form.grid->SetPasteAnchor(1, 0);
        QCOMPARE(form.Rows(), QStringLiteral("first|b|c2;d|e|42.5"));

        // Clearing the rows drops an open edit: it must not land in a later row.
        form.grid->BeginCellEdit(form.CellCentre(0, 0));
        editor->setText(QStringLiteral("gone"));
        form.grid->DeleteAllItems();
        QVERIFY(!form.grid->IsEditing());
        form.grid->AppendRow({"x", "y", "z"});
        form.grid->EndCellEdit();
        QCOMPARE(form.Rows(), QStringLiteral("x|y|z"));

        // An owner closing its form ends the edit after the editor is hidden: what was
        // typed is still stored.
        form.grid->BeginCellEdit(form.CellCentre(0, 1));
        editor->setText(QStringLiteral("7.25"));
        form.dialog.hide();
        form.grid->EndCellEdit();
        QCOMPARE(form.Rows(), QStringLiteral("x|7.25|z"));
    }

    void keysBeatWindowShortcutsAndDefaultButton()
    {
        GridDialog form(QStringLiteral("a|b|c;x|y|z;d|e|f"));
        // A window's Edit menu would own the same keys.
        QSignalSpy copyAction(form.dialog.addAction({}, QKeySequence::Copy), &QAction::triggered);
        QSignalSpy pasteAction(form.dialog.addAction({}, QKeySequence::Paste), &QAction::triggered);
        QSignalSpy okClicked(form.okButton, &QPushButton::clicked);
        QVERIFY(form.Show());

        // Enter is swallowed even with no edit open.
        QVERIFY(form.grid->hasFocus());
        QTest::keyClick(form.grid, Qt::Key_Return);
        QTest::keyClick(form.grid, Qt::Key_Enter, Qt::KeypadModifier);

        // Nothing selected: the clipboard keeps what it had.
        form.grid->clearSelection();
        Clipboard()->setText(QStringLiteral("kept"));
        QTest::keyClick(form.grid, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(Clipboard()->text(), QStringLiteral("kept"));
        // Selected bottom row first: the copy still follows the rows' order.
        form.SelectRows(2, 2);
        form.SelectRows(0, 0);
        QTest::keyClick(form.grid, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(Clipboard()->text(), QStringLiteral("a\tb\tc\r\nd\te\tf"));
        // Overlapping selections give each row once.
        form.grid->clearSelection();
        form.SelectRows(0, 1);
        form.SelectRows(1, 2);
        QTest::keyClick(form.grid, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(Clipboard()->text(), QStringLiteral("a\tb\tc\r\nx\ty\tz\r\nd\te\tf"));

        form.grid->SetPasteAnchor(2, 1);
        Clipboard()->setText(QStringLiteral("p\tq\nr\ts\n"));
        QTest::keyClick(form.grid, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(form.Rows(), QStringLiteral("a|b|c;x|y|z;d|p|q;|r|s"));

        // With Shift the keys are not ours.
        Clipboard()->setText(QStringLiteral("z"));
        QTest::keyClick(form.grid, Qt::Key_V, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(form.Rows(), QStringLiteral("a|b|c;x|y|z;d|p|q;|r|s"));

        // In the editor Ctrl+V is the grid's paste, not the editor's: the edit is closed
        // and both lines land at the edited cell.
        form.grid->BeginCellEdit(form.CellCentre(0, 1));
        Clipboard()->setText(QStringLiteral("1\t2\n3\t4"));
        QTest::keyClick(form.grid->Editor(), Qt::Key_V, Qt::ControlModifier);
        QVERIFY(!form.grid->IsEditing());
        QCOMPARE(form.Rows(), QStringLiteral("a|1|2;x|3|4;d|p|q;|r|s"));

        // Ctrl+C in the editor copies the selected rows, not the editor's text.
        form.grid->BeginCellEdit(form.CellCentre(3, 2));
        form.grid->clearSelection();
        form.SelectRows(0, 0);
        QTest::keyClick(form.grid->Editor(), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(Clipboard()->text(), QStringLiteral("a\t1\t2"));

        QCOMPARE(copyAction.count() + pasteAction.count() + okClicked.count(), 0);
        QVERIFY(!QApplication::overrideCursor());
        // The same key on the button does press it: the dialog really has a default button.
        QTest::keyClick(form.okButton, Qt::Key_Return);
        QCOMPARE(okClicked.count(), 1);
    }

    void headerFillsWidthWithColourAndCentredTitle()
    {
        GridDialog form;
        QVERIFY(form.Show());
        CHeaderCustomCtrl* header = form.grid->Header();
        // The last column stretches to the grid's edge.
        QCOMPARE(header->sectionPosition(2) + header->sectionSize(2),
                 form.grid->viewport()->width());

        // Filled in the colour, with no separator line between the sections.
        QImage image;
        const int boundary = header->sectionPosition(1);
        for (const QColor& back : {QColor(0x20, 0x60, 0xA0), QColor(0xE6, 0xE6, 0xE6)}) {
            header->SetBackColor(back);
            image = header->grab().toImage();
            for (const QPoint& at :
                 {QPoint(2, 2), QPoint(boundary, 2), QPoint(boundary - 1, image.height() - 2)})
                QCOMPARE(image.pixelColor(at), back);
        }

        // The first title is drawn centred in its section (dark on the light colour).
        int left = -1;
        int right = -1;
        for (int x = 0; x < boundary; ++x)
            for (int y = 0; y < image.height(); ++y)
                if (image.pixelColor(x, y).lightness() < 0x80) {
                    left = left < 0 ? x : left;
                    right = x;
                }
        QVERIFY(left > 0);
        QVERIFY(qAbs((left + right) / 2 - boundary / 2) <= 2);
    }

    void percentageCellsPaintBars()
    {
        GridDialog form(QStringLiteral("40%|a|b;120%|c|d;plain|e|f"));
        form.grid->setColumnWidth(0, 200);
        QVERIFY(form.Show());
        form.grid->clearSelection();
        const QPalette& palette = form.grid->palette();
        const QColor bar = palette.color(QPalette::Highlight);
        const QColor rest = palette.color(QPalette::Button);
        const auto inner = [&](int row) { return form.Cell(row, 0).adjusted(3, 2, -3, -2); };

        QImage image = form.grid->viewport()->grab().toImage();
        const QRect cell = inner(0);
        const int barEnd = cell.left() + 40 * cell.width() / 100;
        QCOMPARE(image.pixelColor(barEnd - 2, cell.top() + 1), bar);
        QCOMPARE(image.pixelColor(barEnd + 2, cell.bottom() - 1), rest);

        // Past 100 % the bar is not cut at the cell: it runs over the frame beside it.
        QCOMPARE(image.pixelColor(inner(1).right() + 2, inner(1).top() + 1), bar);

        // An ordinary cell is black on white.
        QCOMPARE(image.pixelColor(inner(2).right() - 2, inner(2).top() + 1), QColor(Qt::white));

        // Selected: the bar in the face colour, the rest in the base colour.
        form.SelectRows(0, 0);
        image = form.grid->viewport()->grab().toImage();
        QCOMPARE(image.pixelColor(cell.left() + 2, cell.top() + 1), rest);
        QCOMPARE(image.pixelColor(cell.right() - 2, cell.top() + 1), palette.color(QPalette::Base));
    }
};

QTEST_MAIN(ListCtrlReportTest)
#include "listctrlreport_test.moc"

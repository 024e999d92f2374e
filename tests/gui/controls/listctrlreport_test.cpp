// The report grid as a user drives it: clicked, typed into, copied from and pasted
// into through the real clipboard; its header and percentage cells as painted.
#include "controls/listctrlreport.h"
#include "guitestsupport.h"

#include "controls/formundostack.h"
#include "controls/headercustomctrl.h"
#include "controls/reportmodel.h"

#include <QAction>
#include <QDialog>
#include <QUndoStack>
#include <QVBoxLayout>

namespace {

QClipboard* Clipboard() { return QGuiApplication::clipboard(); }

// A grid of three columns in a dialog, as the forms use it, with a default button
// that Enter would press if the grid let Enter through. Rows are written "a|b|c;d|e|f".
struct GridDialog {
    explicit GridDialog(const QString& rows = {})
    {
        auto* layout = new QVBoxLayout(&dialog);
        layout->addWidget(grid);
        layout->addWidget(okButton);
        okButton->setDefault(true);
        QObject::connect(okButton, &QPushButton::clicked, &dialog, &QDialog::accept);
        for (const char* title : {"Load", "Strain", "Stress"})
            grid->InsertColumn(title, 80);
        for (const QString& row : rows.split(';', Qt::SkipEmptyParts))
            grid->AppendRow(row.split('|'));
        dialog.resize(400, 300);
    }
    // Shown and active; with clicksEdit a click opens the cell's editor, as the
    // forms wire it.
    bool Show(bool clicksEdit = false)
    {
        if (clicksEdit)
            QObject::connect(grid, &CListCtrlReport::GridClicked, grid, &CListCtrlReport::BeginCellEdit);
        dialog.show();
        dialog.activateWindow();
        grid->setFocus();
        return QTest::qWaitForWindowActive(&dialog);
    }
    QString Rows() const
    {
        QStringList rows;
        for (int row = 0; row < grid->GetItemCount(); ++row)
            rows << RowTexts(grid, row).join('|');
        return rows.join(';');
    }
    QRect Cell(int row, int col) const { return grid->visualRect(grid->Model()->index(row, col)); }
    void Edit(int row, int col, const QString& text) const
    {
        grid->BeginCellEdit(Cell(row, col).center());
        grid->Editor()->setText(text);
    }
    void SelectRows(int first, int last) const
    {
        const QItemSelection rows(grid->Model()->index(first, 0), grid->Model()->index(last, 0));
        grid->selectionModel()->select(rows, QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
    void Key(int key, Qt::KeyboardModifiers modifiers = Qt::ControlModifier, QWidget* to = nullptr) const
    {
        QTest::keyClick(to ? to : grid, Qt::Key(key), modifiers);
    }
    QDialog dialog;
    CListCtrlReport* grid = new CListCtrlReport(&dialog);
    QPushButton* okButton = new QPushButton("OK", &dialog);
};

} // namespace

class ListCtrlReportTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { IsolateSettings(); }
    void init() { Clipboard()->clear(); }

    void rowsAndColumns()
    {
        // A short row is padded, a long one cut at the last column; a column added
        // later keeps every cell in its place; writes outside are ignored.
        GridDialog form("a|b|c;d|e|f");
        form.grid->AppendRowText("note", 2);
        form.grid->AppendRow({"x"});
        form.grid->AppendRow({"1", "2", "3", "4"});
        form.grid->InsertColumn("Extra", 50);
        form.grid->SetItemText(1, 1, "E\u00e9");
        form.grid->SetItemText(99, 0, "lost");
        QCOMPARE(form.Rows(), QString("a|b|c|;d|E\u00e9|f|;||note|;x|||;1|2|3|"));
    }

    void pastesFromTheAnchorCell()
    {
        const struct { const char *what, *rows; QPoint anchor; const char *text, *expected; } cases[] = {
            {"fills the anchor row and appends the rest", "a|b|c;d|e|f", {1, 0}, "1\t2\t3\n4\t5\t6\n7\t8\t9",
             "a|b|c;1|2|3;4|5|6;7|8|9"},
            {"inside the table appends nothing", "a|b|c;d|e|f;g|h|i", {0, 1}, "1\t2\n3\t4", "a|1|2;d|3|4;g|h|i"},
            {"CRLF lines, blank lines after them add no rows", "", {0, 0}, "1\t2\t3\r\n4\t5\t6\r\n \t\n\r\n\n",
             "1|2|3;4|5|6"},
            {"a blank line inside the data is a row", "", {0, 0}, "1\t2\t3\n\n4\t5\t6", "1|2|3;||;4|5|6"},
            {"before any click at the first cell", "a|b|c;d|e|f", {-2, 0}, "p\tq", "p|q|c;d|e|f"},
            {"past the last row at the first new row", "a|b|c", {5, 0}, "1\t2", "a|b|c;1|2|"},
            {"cells beyond the last column dropped", "a|b|c", {0, 1}, "1\t2\t3\t4\n5\t6\t7", "a|1|2;|5|6"},
            {"non-ASCII text survives", "", {0, 0}, "\u00b5m\t\u20ac", "\u00b5m|\u20ac|"},
        };
        for (const auto& c : cases) {
            GridDialog form(c.rows);
            if (c.anchor.x() != -2)
                form.grid->SetPasteAnchor(c.anchor.x(), c.anchor.y());
            Clipboard()->setText(c.text);
            form.grid->PasteFromClipboard();
            QVERIFY2(form.Rows() == c.expected, qPrintable(QString(c.what) + ": " + form.Rows()));
            QVERIFY(!QApplication::overrideCursor());
        }
    }

    void cellEditBeginCommitAndDrop()
    {
        GridDialog form("a|b|c;d|e|1.5");
        // Owners start the edit from the click notification, which right clicks do not send.
        QVERIFY(form.Show(true));
        QSignalSpy edited(form.grid, &CListCtrlReport::CellsEdited);
        QTest::mouseClick(form.grid->viewport(), Qt::RightButton, {}, form.Cell(1, 2).center());
        QVERIFY(!form.grid->IsEditing());
        QTest::mouseClick(form.grid->viewport(), Qt::LeftButton, {}, form.Cell(1, 2).center());
        QLineEdit* editor = form.grid->Editor();
        QVERIFY(form.grid->IsEditing() && editor->isVisible() && editor->hasFocus());
        QCOMPARE(editor->geometry(), form.Cell(1, 2));
        QCOMPARE(editor->selectedText(), QString("1.5"));
        QTest::keyClicks(editor, "42.5");
        QTest::keyClick(editor, Qt::Key_Return);
        QVERIFY(!form.grid->IsEditing() && !editor->isVisible());
        QVERIFY(form.dialog.isVisible()); // the Enter that ended the edit did not close it
        // A new edit stores the open one first; an unchanged edit is not reported.
        form.Edit(0, 0, "first");
        form.Edit(0, 1, "b");
        form.grid->EndCellEdit();
        QCOMPARE(edited.count(), 2);
        // Moving the paste anchor stores an open edit in its own cell first.
        form.Edit(0, 2, "c2");
        form.grid->SetPasteAnchor(1, 0);
        QCOMPARE(form.Rows(), QString("first|b|c2;d|e|42.5"));
        // Clearing the rows drops an open edit: it must not land in a later row.
        form.Edit(0, 0, "gone");
        form.grid->DeleteAllItems();
        QVERIFY(!form.grid->IsEditing());
        form.grid->AppendRow({"x", "y", "z"});
        form.grid->EndCellEdit();
        QCOMPARE(form.Rows(), QString("x|y|z"));
        // An owner closing its form ends the edit after the editor is hidden: what was
        // typed is still stored.
        form.Edit(0, 1, "7.25");
        form.dialog.hide();
        form.grid->EndCellEdit();
        QCOMPARE(form.Rows(), QString("x|7.25|z"));
    }

    void keysBeatWindowShortcutsAndDefaultButton()
    {
        GridDialog form("a|b|c;x|y|z;d|e|f");
        // A window's Edit menu would own the same keys.
        QSignalSpy copyAction(form.dialog.addAction({}, QKeySequence::Copy), &QAction::triggered);
        QSignalSpy pasteAction(form.dialog.addAction({}, QKeySequence::Paste), &QAction::triggered);
        QSignalSpy okClicked(form.okButton, &QPushButton::clicked);
        QVERIFY(form.Show());
        form.Key(Qt::Key_Return, {}); // swallowed even with no edit open
        form.Key(Qt::Key_Enter, Qt::KeypadModifier);
        // Nothing selected: the clipboard keeps what it had. Selected bottom row first,
        // or overlapping: each row once, in the rows' order.
        const auto copied = [&] { form.Key(Qt::Key_C); return Clipboard()->text(); };
        form.grid->clearSelection();
        Clipboard()->setText("kept");
        QCOMPARE(copied(), QString("kept"));
        form.SelectRows(2, 2);
        form.SelectRows(0, 0);
        QCOMPARE(copied(), QString("a\tb\tc\r\nd\te\tf"));
        form.SelectRows(0, 1);
        form.SelectRows(1, 2);
        QCOMPARE(copied(), QString("a\tb\tc\r\nx\ty\tz\r\nd\te\tf"));
        form.grid->SetPasteAnchor(2, 1);
        Clipboard()->setText("p\tq\nr\ts\n");
        form.Key(Qt::Key_V);
        Clipboard()->setText("z");
        form.Key(Qt::Key_V, Qt::ControlModifier | Qt::ShiftModifier); // with Shift the keys are not ours
        QCOMPARE(form.Rows(), QString("a|b|c;x|y|z;d|p|q;|r|s"));
        // In the editor Ctrl+V is the grid's paste, not the editor's: the edit is closed
        // and both lines land at the edited cell; Ctrl+C copies the rows, not the text.
        form.grid->BeginCellEdit(form.Cell(0, 1).center());
        Clipboard()->setText("1\t2\n3\t4");
        form.Key(Qt::Key_V, Qt::ControlModifier, form.grid->Editor());
        QVERIFY(!form.grid->IsEditing());
        QCOMPARE(form.Rows(), QString("a|1|2;x|3|4;d|p|q;|r|s"));
        form.grid->BeginCellEdit(form.Cell(3, 2).center());
        form.grid->clearSelection();
        form.SelectRows(0, 0);
        form.Key(Qt::Key_C, Qt::ControlModifier, form.grid->Editor());
        QCOMPARE(Clipboard()->text(), QString("a\t1\t2"));
        QCOMPARE(copyAction.count() + pasteAction.count() + okClicked.count(), 0);
        // The same key on the button does press it: the dialog really has a default button.
        QTest::keyClick(form.okButton, Qt::Key_Return);
        QCOMPARE(okClicked.count(), 1);
    }

    // Tab and Shift+Tab go from cell to cell across rows, Enter stores and goes down,
    // Ctrl+Home and Ctrl+End to the first and last row; each move is a click there.
    // A grid of readings grows as they are typed in: Enter or Tab past the last row
    // adds one, and Undo takes it away again with the typed cells.
    void keysMoveFromCellToCellAndGrowTheGrid()
    {
        GridDialog form("a|b|c;d|e|f;g|h|i");
        FormUndoStack steps;
        form.grid->SetUndoStack(&steps);
        form.grid->SetEditable([](int, int) { return true; });
        QVERIFY(form.Show(true));
        const auto at = [&] { return QPoint(form.grid->EditRow(), form.grid->EditColumn()); };
        form.grid->BeginCellEdit(form.Cell(0, 2).center());
        QTest::keyClicks(form.grid->Editor(), "C");
        const std::pair<Qt::Key, QPoint> moves[] = {{Qt::Key_Tab, {1, 0}}, {Qt::Key_Backtab, {0, 2}},
                                                    {Qt::Key_Return, {1, 2}}, {Qt::Key_End, {2, 2}},
                                                    {Qt::Key_Home, {0, 2}}};
        for (const auto& [key, cell] : moves) {
            const bool control = key == Qt::Key_End || key == Qt::Key_Home;
            QTest::keyClick(form.grid->Editor(), key, control ? Qt::ControlModifier : Qt::NoModifier);
            QCOMPARE(at(), cell);
            QVERIFY(form.grid->IsEditing());
        }
        QCOMPARE(form.Rows(), QString("a|b|C;d|e|f;g|h|i"));
        form.Edit(2, 2, "30");
        form.Key(Qt::Key_Tab, Qt::NoModifier, form.grid->Editor());
        QCOMPARE(at(), QPoint(3, 0));
        QTest::keyClicks(form.grid->Editor(), "4");
        form.Key(Qt::Key_Return, Qt::NoModifier, form.grid->Editor());
        QCOMPARE(form.Rows(), QString("a|b|C;d|e|f;g|h|30;4||;||"));
        form.grid->EndCellEdit();
        while (steps.Stack()->canUndo())
            steps.Stack()->undo();
        QCOMPARE(form.Rows(), QString("a|b|c;d|e|f;g|h|i"));
    }

    // A form's grid: its label column is passed by, its rows are fixed. Typing on a
    // chosen cell opens the editor with what was typed, F2 with the cell's text,
    // Delete clears it; Tab goes on to the next row's first cell that can be written.
    void labelsAndFixedRowsAreNeverWritten()
    {
        GridDialog form("Fiber|1|2;Matrix|3|4");
        form.grid->SetEditable([](int, int column) { return column != 0; });
        form.grid->SetFixedRows(true);
        QVERIFY(form.Show(true));
        // A paste before any click, on the label, and of more lines than rows.
        Clipboard()->setText("7\t8\t9\n5\t6\n10\t11\n");
        form.Key(Qt::Key_V);
        QCOMPARE(form.Rows(), QString("Fiber|7|8;Matrix|5|6"));
        // A column's length limit holds for a paste as for typing.
        form.grid->SetPasteAnchor(1, 0);
        form.grid->SetMaxTextLength(1, 3);
        Clipboard()->setText("abcdef\tlong text");
        form.Key(Qt::Key_V);
        QCOMPARE(form.Rows(), QString("Fiber|7|8;Matrix|abc|long text"));

        form.grid->setCurrentIndex(form.grid->Model()->index(0, 2));
        QTest::keyClick(form.grid, '0');
        QVERIFY(form.grid->IsEditing() && form.grid->Editor()->hasFocus());
        QTest::keyClicks(form.grid->Editor(), ",25"); // where the next keys go
        form.Key(Qt::Key_Tab, Qt::NoModifier, form.grid->Editor());
        QCOMPARE(QPoint(form.grid->EditRow(), form.grid->EditColumn()), QPoint(1, 1));
        QVERIFY(form.grid->IsEditing());
        QTest::keyClicks(form.grid->Editor(), "3");
        form.Key(Qt::Key_Tab, Qt::NoModifier, form.grid->Editor());
        QTest::keyClicks(form.grid->Editor(), "4");
        // Past the last cell there is nowhere to go, and nothing typed is lost.
        form.Key(Qt::Key_Tab, Qt::NoModifier, form.grid->Editor());
        form.grid->EndCellEdit();
        QCOMPARE(form.Rows(), QString("Fiber|7|0,25;Matrix|3|4"));

        form.grid->setCurrentIndex(form.grid->Model()->index(1, 1));
        form.grid->setFocus();
        form.Key(Qt::Key_Delete, Qt::NoModifier);
        form.grid->setCurrentIndex(form.grid->Model()->index(1, 0));
        form.Key(Qt::Key_F2, Qt::NoModifier);
        QVERIFY(!form.grid->IsEditing()); // F2 on the label opens nothing
        form.grid->setCurrentIndex(form.grid->Model()->index(1, 2));
        form.Key(Qt::Key_F2, Qt::NoModifier);
        QCOMPARE(form.grid->Editor()->text(), QString("4"));
        form.grid->EndCellEdit();
        QCOMPARE(form.Rows(), QString("Fiber|7|0,25;Matrix||4"));
        QCOMPARE(form.grid->GetItemCount(), 2);
    }

    void headerAndPercentageCellsArePaintedWhole()
    {
        GridDialog form("40%|a|b;120%|c|d");
        form.grid->setColumnWidth(0, 200);
        QVERIFY(form.Show());
        CHeaderCustomCtrl* header = form.grid->Header();
        // The last column stretches to the grid's edge; the header is filled in its
        // colour, with no separator line, and the first title centred in its section.
        QCOMPARE(header->sectionPosition(2) + header->sectionSize(2), form.grid->viewport()->width());
        const QColor back(0x20, 0x60, 0xA0);
        header->SetBackColor(back);
        QImage image = header->grab().toImage();
        const int boundary = header->sectionPosition(1);
        for (const QPoint& at : {QPoint(2, 2), QPoint(boundary, 2), QPoint(boundary - 1, image.height() - 2)})
            QCOMPARE(image.pixelColor(at), back);
        int left = boundary, right = 0;
        for (int x = 0; x < boundary; ++x) {
            for (int y = 0; y < image.height(); ++y) {
                if (image.pixelColor(x, y) != back)
                    left = std::min(left, x), right = std::max(right, x);
            }
        }
        QVERIFY(left > 0 && qAbs((left + right) / 2 - boundary / 2) <= 2);
        // "40%" paints a bar over 40 % of the cell; past 100 % the bar runs over the
        // frame beside it. Selected, the bar takes the face colour, the rest the base.
        form.grid->clearSelection();
        const QPalette& palette = form.grid->palette();
        const QColor bar = palette.color(QPalette::Highlight), rest = palette.color(QPalette::Button);
        const QRect cell = form.Cell(0, 0).adjusted(3, 2, -3, -2), over = form.Cell(1, 0).adjusted(3, 2, -3, -2);
        const int barEnd = cell.left() + 40 * cell.width() / 100;
        image = form.grid->viewport()->grab().toImage();
        QCOMPARE(image.pixelColor(barEnd - 2, cell.top() + 1), bar);
        QCOMPARE(image.pixelColor(barEnd + 2, cell.bottom() - 1), rest);
        QCOMPARE(image.pixelColor(over.right() + 2, over.top() + 1), bar);
        form.SelectRows(0, 0);
        image = form.grid->viewport()->grab().toImage();
        QCOMPARE(image.pixelColor(cell.left() + 2, cell.top() + 1), rest);
        QCOMPARE(image.pixelColor(cell.right() - 2, cell.top() + 1), palette.color(QPalette::Base));
    }
};

QTEST_MAIN(ListCtrlReportTest)
#include "listctrlreport_test.moc"

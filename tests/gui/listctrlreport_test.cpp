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
#include <QHeaderView>
#include <QImage>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

#include <algorithm>
#include <memory>
#include <stdexcept>
#include <string>

namespace {

// A dialog holding a grid of three 80-pixel columns, the way the forms use it, with
// a default button that Enter would press if the grid let Enter through.
struct GridDialog {
    GridDialog()
    {
        dialog = std::make_unique<QDialog>();
        auto* layout = new QVBoxLayout(dialog.get());
        grid = new CListCtrlReport(dialog.get());
        okButton = new QPushButton(QStringLiteral("OK"), dialog.get());
        okButton->setDefault(true);
        QObject::connect(okButton, &QPushButton::clicked, dialog.get(), &QDialog::accept);
        layout->addWidget(grid);
        layout->addWidget(okButton);
        grid->InsertColumn(QStringLiteral("Load"), 80);
        grid->InsertColumn(QStringLiteral("Strain"), 80);
        grid->InsertColumn(QStringLiteral("Stress"), 80);
        dialog->resize(400, 300);
    }

    bool Show()
    {
        dialog->show();
        dialog->activateWindow();
        if (!QTest::qWaitForWindowActive(dialog.get()))
            return false;
        grid->setFocus();
        return true;
    }

    void AddRows(const QStringList& rows)
    {
        for (const QString& row : rows)
            grid->AppendRow(row.split(QLatin1Char('|')));
    }

    QStringList Rows() const
    {
        QStringList rows;
        for (int row = 0; row < grid->GetItemCount(); ++row) {
            QStringList cells;
            for (int column = 0; column < grid->GetColumnCount(); ++column)
                cells << grid->GetItemText(row, column);
            rows << cells.join(QLatin1Char('|'));
        }
        return rows;
    }

    QPoint CellCentre(int row, int column) const
    {
        return grid->visualRect(grid->Model()->index(row, column)).center();
    }

    void SelectRow(int row) const
    {
        grid->selectionModel()->select(grid->Model()->index(row, 0),
                                       QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }

    std::unique_ptr<QDialog> dialog;
    CListCtrlReport* grid = nullptr;
    QPushButton* okButton = nullptr;
};

} // namespace

class ListCtrlReportTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();

    void rowsAndColumns();
    void appendRowRejectsBadInput();

    void copyJoinsSelectedRowsInRowOrder();
    void copyWithoutSelectionLeavesClipboard();

    void pasteText_data();
    void pasteText();
    void largePasteLandsEveryValue();

    void hitTestAndGridClicked();
    void cellEditOpensOverCellAndEnterStores();
    void cellEditOutsideRowsOpensNothing();
    void endCellEditTakesHiddenEditorText();
    void enterIsSwallowedWithoutEdit();

    void keyboardCopyAndPasteBeatWindowShortcuts();
    void ctrlVInEditorPastesAtEditedCell();

    void headerColourHeightAndCentredTitle();
    void percentageCellsPaintBars();
};

void ListCtrlReportTest::initTestCase()
{
    IsolateSettings();
}

void ListCtrlReportTest::init()
{
    QGuiApplication::clipboard()->clear();
}

void ListCtrlReportTest::rowsAndColumns()
{
    GridDialog form;
    form.AddRows({"a|b|c", "d|e|f"});
    QCOMPARE(form.grid->GetColumnCount(), 3);
    QCOMPARE(form.grid->GetItemCount(), 2);

    form.grid->AppendRowText(QStringLiteral("note"), 2);
    QCOMPARE(form.Rows().last(), QStringLiteral("||note"));

    // A short row is padded, a long one cut at the last column.
    form.grid->AppendRow({QStringLiteral("x")});
    form.grid->AppendRow({"1", "2", "3", "4"});
    QCOMPARE(form.Rows().mid(3), QStringList({"x||", "1|2|3"}));

    // A column added later keeps every existing cell in its place.
    form.grid->InsertColumn(QStringLiteral("Extra"), 50);
    QCOMPARE(form.Rows().first(), QStringLiteral("a|b|c|"));
    QCOMPARE(form.Rows().last(), QStringLiteral("1|2|3|"));
    QCOMPARE(form.grid->Model()->headerData(3, Qt::Horizontal).toString(), QStringLiteral("Extra"));

    form.grid->SetItemText(1, 1, QStringLiteral("E\u00e9"));
    QCOMPARE(form.grid->GetItemText(1, 1), QStringLiteral("E\u00e9"));
    // Outside the table: nothing read, nothing written.
    form.grid->SetItemText(99, 0, QStringLiteral("lost"));
    QCOMPARE(form.grid->GetItemText(99, 0), QString());
    QCOMPARE(form.grid->GetItemText(0, -1), QString());

    form.grid->DeleteAllItems();
    QCOMPARE(form.grid->GetItemCount(), 0);
    QCOMPARE(form.grid->GetColumnCount(), 4);

    // Compact fixed rows and a stretching last column.
    QVERIFY(form.Show());
    form.AddRows({"a|b|c|d"});
    QCOMPARE(form.grid->rowHeight(0), form.grid->fontMetrics().height() + 4);
    QCOMPARE(form.grid->columnWidth(0), 80);
    const QHeaderView* header = form.grid->horizontalHeader();
    QCOMPARE(header->sectionPosition(3) + header->sectionSize(3), form.grid->viewport()->width());
}

void ListCtrlReportTest::appendRowRejectsBadInput()
{
    GridDialog form;
    QVERIFY_THROWS_EXCEPTION(std::invalid_argument, form.grid->AppendRow({}));
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, form.grid->AppendRowText(QStringLiteral("t"), 3));
    QCOMPARE(form.grid->GetItemCount(), 0);
}

void ListCtrlReportTest::copyJoinsSelectedRowsInRowOrder()
{
    GridDialog form;
    form.AddRows({"a|b|c", "x|y|z", "d|e|f"});
    QVERIFY(form.Show());
    // Selected bottom row first: the copy still follows the rows' order.
    form.SelectRow(2);
    form.SelectRow(0);
    form.grid->CopySelectionToClipboard();
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("a\tb\tc\r\nd\te\tf"));
    QVERIFY(!QApplication::overrideCursor());

    // Overlapping ranges give each row once.
    form.grid->selectAll();
    form.SelectRow(1);
    form.grid->CopySelectionToClipboard();
    QCOMPARE(QGuiApplication::clipboard()->text(),
             QStringLiteral("a\tb\tc\r\nx\ty\tz\r\nd\te\tf"));
}

void ListCtrlReportTest::copyWithoutSelectionLeavesClipboard()
{
    GridDialog form;
    form.AddRows({"a|b|c"});
    QVERIFY(form.Show());
    form.grid->clearSelection();
    QGuiApplication::clipboard()->setText(QStringLiteral("kept"));
    form.grid->CopySelectionToClipboard();
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("kept"));
}

void ListCtrlReportTest::pasteText_data()
{
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<int>("anchorRow"); // -2: the anchor left as it is
    QTest::addColumn<int>("anchorColumn");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("fills the anchor row and appends the rest")
        << QStringList{"a|b|c", "d|e|f"} << 1 << 0 << "1\t2\t3\n4\t5\t6\n7\t8\t9"
        << QStringList{"a|b|c", "1|2|3", "4|5|6", "7|8|9"};
    QTest::newRow("inside the table appends nothing")
        << QStringList{"a|b|c", "d|e|f", "g|h|i"} << 0 << 1 << "1\t2\n3\t4"
        << QStringList{"a|1|2", "d|3|4", "g|h|i"};
    QTest::newRow("trailing line break adds no row")
        << QStringList{} << 0 << 0 << "1\t2\t3\n" << QStringList{"1|2|3"};
    QTest::newRow("trailing blank lines add no rows")
        << QStringList{} << 0 << 0 << "1\t2\t3\n \t\n\r\n\n" << QStringList{"1|2|3"};
    QTest::newRow("blank line inside the data is a row")
        << QStringList{} << 0 << 0 << "1\t2\t3\n\n4\t5\t6" << QStringList{"1|2|3", "||", "4|5|6"};
    QTest::newRow("before any click starts at the first cell")
        << QStringList{"a|b|c", "d|e|f"} << -2 << 0 << "p\tq" << QStringList{"p|q|c", "d|e|f"};
    QTest::newRow("cells beyond the last column are dropped")
        << QStringList{"a|b|c"} << 0 << 1 << "1\t2\t3\t4\n5\t6\t7" << QStringList{"a|1|2", "|5|6"};
    QTest::newRow("CRLF lines")
        << QStringList{} << 0 << 0 << "1\t2\t3\r\n4\t5\t6\r\n" << QStringList{"1|2|3", "4|5|6"};
    QTest::newRow("white space only changes nothing")
        << QStringList{"a|b|c"} << 0 << 0 << " \r\n\t\n" << QStringList{"a|b|c"};
    QTest::newRow("anchor past the last row starts at the first new row")
        << QStringList{"a|b|c"} << 5 << 0 << "1\t2" << QStringList{"a|b|c", "1|2|"};
    QTest::newRow("UTF-8 text survives")
        << QStringList{} << 0 << 0 << QString::fromUtf8("\xc2\xb5m\t\xe2\x82\xac")
        << QStringList{QString::fromUtf8("\xc2\xb5m|\xe2\x82\xac|")};
}

void ListCtrlReportTest::pasteText()
{
    QFETCH(QStringList, rows);
    QFETCH(int, anchorRow);
    QFETCH(int, anchorColumn);
    QFETCH(QString, text);
    QFETCH(QStringList, expected);

    GridDialog form;
    form.AddRows(rows);
    QVERIFY(form.Show());
    if (anchorRow != -2)
        form.grid->SetPasteAnchor(anchorRow, anchorColumn);
    QGuiApplication::clipboard()->setText(text);
    form.grid->PasteFromClipboard();
    QCOMPARE(form.Rows(), expected);
    QVERIFY(!QApplication::overrideCursor());
}

void ListCtrlReportTest::largePasteLandsEveryValue()
{
    constexpr int kLines = 100000;
    QString text;
    text.reserve(kLines * 24);
    for (int i = 0; i < kLines; ++i)
        text += QStringLiteral("%1\t%2.5\t-%3\r\n").arg(i).arg(i * 7).arg(i * 3);

    GridDialog form;
    QVERIFY(form.Show());
    form.grid->SetPasteAnchor(0, 0);
    QGuiApplication::clipboard()->setText(text);
    form.grid->PasteFromClipboard();
    QCOMPARE(form.grid->GetItemCount(), kLines);

    const ReportModel* model = form.grid->Model();
    int wrong = 0;
    for (int i = 0; i < kLines; ++i) {
        if (model->CellUtf8(i, 0) != std::to_string(i) ||
            model->CellUtf8(i, 1) != std::to_string(i * 7) + ".5" ||
            model->CellUtf8(i, 2) != "-" + std::to_string(i * 3))
            ++wrong;
    }
    QCOMPARE(wrong, 0);
}

void ListCtrlReportTest::hitTestAndGridClicked()
{
    GridDialog form;
    form.AddRows({"a|b|c", "d|e|f"});
    QVERIFY(form.Show());

    int row = -1;
    int column = -1;
    QVERIFY(form.grid->HitTest(form.CellCentre(1, 2), row, column));
    QCOMPARE(row, 1);
    QCOMPARE(column, 2);
    const QPoint belowRows(10, form.grid->rowViewportPosition(1) + 3 * form.grid->rowHeight(1));
    QVERIFY(!form.grid->HitTest(belowRows, row, column));

    QSignalSpy clicked(form.grid, &CListCtrlReport::GridClicked);
    QTest::mouseClick(form.grid->viewport(), Qt::LeftButton, {}, form.CellCentre(0, 1));
    QTest::mouseClick(form.grid->viewport(), Qt::LeftButton, {}, belowRows);
    QTest::mouseClick(form.grid->viewport(), Qt::RightButton, {}, form.CellCentre(1, 1));
    QCOMPARE(clicked.count(), 2);
    QCOMPARE(clicked.at(0).at(0).toPoint(), form.CellCentre(0, 1));
    QCOMPARE(clicked.at(1).at(0).toPoint(), belowRows);
}

void ListCtrlReportTest::cellEditOpensOverCellAndEnterStores()
{
    GridDialog form;
    form.AddRows({"a|b|c", "d|e|1.5"});
    QVERIFY(form.Show());
    // Owners start the edit from the click notification.
    connect(form.grid, &CListCtrlReport::GridClicked, form.grid, &CListCtrlReport::BeginCellEdit);
    QTest::mouseClick(form.grid->viewport(), Qt::LeftButton, {}, form.CellCentre(1, 2));

    QVERIFY(form.grid->IsEditing());
    QLineEdit* editor = form.grid->Editor();
    QVERIFY(editor);
    QVERIFY(editor->isVisible());
    QCOMPARE(editor->parentWidget(), form.grid->viewport());
    QCOMPARE(editor->geometry(), form.grid->visualRect(form.grid->Model()->index(1, 2)));
    QCOMPARE(editor->font(), form.grid->font());
    QCOMPARE(editor->text(), QStringLiteral("1.5"));
    QCOMPARE(editor->selectedText(), QStringLiteral("1.5"));
    QVERIFY(editor->hasFocus());
    QCOMPARE(form.grid->EditRow(), 1);
    QCOMPARE(form.grid->EditColumn(), 2);

    QTest::keyClicks(editor, QStringLiteral("42.5"));
    QTest::keyClick(editor, Qt::Key_Return);
    QCOMPARE(form.grid->GetItemText(1, 2), QStringLiteral("42.5"));
    QVERIFY(!form.grid->IsEditing());
    QVERIFY(!editor->isVisible());
    QVERIFY(form.dialog->isVisible()); // the Enter that ended the edit did not close the dialog

    // A second click ends the open edit before the next one starts.
    QTest::mouseClick(form.grid->viewport(), Qt::LeftButton, {}, form.CellCentre(0, 0));
    editor->setText(QStringLiteral("first"));
    QTest::mouseClick(form.grid->viewport(), Qt::LeftButton, {}, form.CellCentre(0, 1));
    QCOMPARE(form.grid->GetItemText(0, 0), QStringLiteral("first"));
    QCOMPARE(editor->text(), QStringLiteral("b"));
    QCOMPARE(form.grid->EditColumn(), 1);
}

void ListCtrlReportTest::cellEditOutsideRowsOpensNothing()
{
    GridDialog form;
    form.AddRows({"a|b|c"});
    QVERIFY(form.Show());
    const int y = form.grid->rowViewportPosition(0) + 5 * form.grid->rowHeight(0);
    form.grid->BeginCellEdit(QPoint(10, y));
    QVERIFY(!form.grid->IsEditing());
    QCOMPARE(form.grid->EditRow(), -1);
    QCOMPARE(form.grid->EditColumn(), -1);
    form.grid->EndCellEdit(); // nothing open: no effect
    QCOMPARE(form.Rows(), QStringList{"a|b|c"});
}

void ListCtrlReportTest::endCellEditTakesHiddenEditorText()
{
    GridDialog form;
    form.AddRows({"a|b|c"});
    QVERIFY(form.Show());
    form.grid->BeginCellEdit(form.CellCentre(0, 1));
    QVERIFY(form.grid->IsEditing());
    form.grid->Editor()->setText(QStringLiteral("7.25"));
    // The owner closes its form, then ends the edit.
    form.dialog->hide();
    QVERIFY(!form.grid->Editor()->isVisible());
    form.grid->EndCellEdit();
    QCOMPARE(form.grid->GetItemText(0, 1), QStringLiteral("7.25"));
    QVERIFY(!form.grid->IsEditing());
}

void ListCtrlReportTest::enterIsSwallowedWithoutEdit()
{
    GridDialog form;
    form.AddRows({"a|b|c"});
    QVERIFY(form.Show());
    QSignalSpy okClicked(form.okButton, &QPushButton::clicked);
    QVERIFY(form.grid->hasFocus());
    QTest::keyClick(form.grid, Qt::Key_Return);
    QTest::keyClick(form.grid, Qt::Key_Enter, Qt::KeypadModifier);
    QCOMPARE(okClicked.count(), 0);
    QVERIFY(form.dialog->isVisible());
    QCOMPARE(form.dialog->result(), int(QDialog::Rejected));

    // The same key on the button does press it: the dialog really has a default button.
    QTest::keyClick(form.okButton, Qt::Key_Return);
    QCOMPARE(okClicked.count(), 1);
}

void ListCtrlReportTest::keyboardCopyAndPasteBeatWindowShortcuts()
{
    GridDialog form;
    form.AddRows({"a|b|c", "d|e|f"});
    // A window's Edit menu would own the same keys.
    auto* copyAction = new QAction(form.dialog.get());
    copyAction->setShortcut(QKeySequence::Copy);
    auto* pasteAction = new QAction(form.dialog.get());
    pasteAction->setShortcut(QKeySequence::Paste);
    form.dialog->addAction(copyAction);
    form.dialog->addAction(pasteAction);
    QSignalSpy copyTriggered(copyAction, &QAction::triggered);
    QSignalSpy pasteTriggered(pasteAction, &QAction::triggered);
    QVERIFY(form.Show());

    form.SelectRow(0);
    form.SelectRow(1);
    QTest::keyClick(form.grid, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("a\tb\tc\r\nd\te\tf"));

    form.grid->SetPasteAnchor(1, 1);
    QGuiApplication::clipboard()->setText(QStringLiteral("p\tq\nr\ts\n"));
    QTest::keyClick(form.grid, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(form.Rows(), QStringList({"a|b|c", "d|p|q", "|r|s"}));

    // With Shift the keys are not ours.
    QGuiApplication::clipboard()->setText(QStringLiteral("z"));
    QTest::keyClick(form.grid, Qt::Key_V, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(form.grid->GetItemCount(), 3);

    QCOMPARE(copyTriggered.count(), 0);
    QCOMPARE(pasteTriggered.count(), 0);
    QVERIFY(!QApplication::overrideCursor());
}

void ListCtrlReportTest::ctrlVInEditorPastesAtEditedCell()
{
    GridDialog form;
    form.AddRows({"a|b|c", "d|e|f"});
    QVERIFY(form.Show());
    form.grid->BeginCellEdit(form.CellCentre(1, 1));
    QLineEdit* editor = form.grid->Editor();
    QVERIFY(form.grid->IsEditing());
    QGuiApplication::clipboard()->setText(QStringLiteral("1\t2\n3\t4"));
    QTest::keyClick(editor, Qt::Key_V, Qt::ControlModifier);
    // The grid's paste, not the editor's: the edit is closed and both lines land.
    QVERIFY(!form.grid->IsEditing());
    QCOMPARE(form.Rows(), QStringList({"a|b|c", "d|1|2", "|3|4"}));

    // Ctrl+C in the editor copies the selected rows, not the editor's text.
    form.grid->BeginCellEdit(form.CellCentre(0, 0));
    form.grid->clearSelection();
    form.SelectRow(0);
    QTest::keyClick(form.grid->Editor(), Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("a\tb\tc"));
}

void ListCtrlReportTest::headerColourHeightAndCentredTitle()
{
    GridDialog form;
    QVERIFY(form.Show());
    CHeaderCustomCtrl* header = form.grid->Header();
    QCOMPARE(form.grid->horizontalHeader(), header);
    const int expectedHeight = std::max(17, header->fontMetrics().height() + 6);
    QCOMPARE(header->height(), expectedHeight);

    header->SetBackColor(QColor(0xE6, 0xE6, 0xE6));
    QImage image = header->grab().toImage();
    QCOMPARE(image.pixelColor(2, 2), QColor(0xE6, 0xE6, 0xE6));
    // No separator line between the sections.
    QCOMPARE(image.pixelColor(header->sectionPosition(1), 2), QColor(0xE6, 0xE6, 0xE6));
    QCOMPARE(image.pixelColor(header->sectionPosition(1) - 1, expectedHeight - 2),
             QColor(0xE6, 0xE6, 0xE6));

    // The title of the first section is drawn centred in it.
    int left = -1;
    int right = -1;
    for (int x = 0; x < header->sectionSize(0); ++x)
        for (int y = 0; y < image.height(); ++y)
            if (image.pixelColor(x, y).lightness() < 0x80) {
                if (left < 0)
                    left = x;
                right = x;
            }
    QVERIFY(left > 0);
    QVERIFY(qAbs((left + right) / 2 - header->sectionSize(0) / 2) <= 2);

    header->SetBackColor(QColor(0x20, 0x60, 0xA0));
    image = header->grab().toImage();
    QCOMPARE(image.pixelColor(2, 2), QColor(0x20, 0x60, 0xA0));
}

void ListCtrlReportTest::percentageCellsPaintBars()
{
    GridDialog form;
    form.grid->setColumnWidth(0, 200);
    form.AddRows({"40%|a|b", "120%|c|d", "plain|e|f"});
    QVERIFY(form.Show());
    form.grid->clearSelection();
    const QPalette& palette = form.grid->palette();
    const QColor bar = palette.color(QPalette::Highlight);
    const QColor rest = palette.color(QPalette::Button);

    const auto inner = [&](int row) {
        return form.grid->visualRect(form.grid->Model()->index(row, 0)).adjusted(3, 2, -3, -2);
    };
    QImage image = form.grid->viewport()->grab().toImage();
    QRect cell = inner(0);
    QCOMPARE(image.pixelColor(cell.left() + 2, cell.top() + 1), bar);
    const int barEnd = cell.left() + 40 * cell.width() / 100;
    QCOMPARE(image.pixelColor(barEnd - 2, cell.top() + 1), bar);
    QCOMPARE(image.pixelColor(barEnd + 2, cell.top() + 1), rest);
    QCOMPARE(image.pixelColor(cell.right() - 2, cell.bottom() - 1), rest);

    // Past 100 % the bar is not cut at the cell: it runs over the frame beside it.
    cell = inner(1);
    QCOMPARE(image.pixelColor(cell.right() - 1, cell.top() + 1), bar);
    QCOMPARE(image.pixelColor(cell.right() + 2, cell.top() + 1), bar);

    // An ordinary cell is black on white.
    cell = inner(2);
    QCOMPARE(image.pixelColor(cell.right() - 2, cell.top() + 1), QColor(Qt::white));

    // Selected: the bar in the face colour, the rest in the base colour.
    form.SelectRow(0);
    image = form.grid->viewport()->grab().toImage();
    cell = inner(0);
    QCOMPARE(image.pixelColor(cell.left() + 2, cell.top() + 1), rest);
    QCOMPARE(image.pixelColor(cell.right() - 2, cell.top() + 1), palette.color(QPalette::Base));
}

QTEST_MAIN(ListCtrlReportTest)
#include "listctrlreport_test.moc"

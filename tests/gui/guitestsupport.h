#pragma once
// What the desktop program's test programs share: the headers they use, the program
// driven as a user drives it, recorded message boxes, isolated settings, helpers.

#include "app/childframe.h"
#include "app/logview.h"
#include "app/mainframe.h"
#include "app/mditabarea.h"
#include "app/plyforgeapp.h"
#include "app/plyforgeview.h"
#include "app/projectfiles.h"
#include "app/ribbonbar.h"
#include "chart/chartview.h"
#include "chart/chartviewer.h"
#include "chart/legendlayout.h"
#include "chart/xychart.h"
#include "controls/listctrlreport.h"
#include "controls/richeditcustomctrl.h"
#include "controls/treectrlcustom.h"
#include "doc/messages.h"
#include "doc/messagesink.h"
#include "doc/plyforgedoc.h"
#include "doc/projectreader.h"
#include "forms/experimentdlg.h"
#include "forms/laminadlg.h"
#include "forms/resultexpview.h"
#include "forms/resulttheoryview.h"
#include "guibase/captions.h"
#include "guibase/messagebox.h"
#include "util/trace.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

// Records the messages a test run would have shown in boxes.
class RecordingMessageSink : public MessageSink {
public:
    void ShowMessage(const std::string& text) override { messages.push_back(text); }
    QStringList Messages() const
    {
        QStringList list;
        for (const std::string& text : messages)
            list << QString::fromStdString(text);
        return list;
    }
    void Clear() { messages.clear(); }
    std::vector<std::string> messages;
};

// Settings and standard paths of the test run, apart from the user's, and its
// message boxes recorded in Recorded() instead of waiting for a click.
void IsolateSettings();
RecordingMessageSink& Recorded();

// The desktop program with its messages recorded, a changed project discarded
// without asking, and its window shown offscreen.
class AppDriver {
public:
    ~AppDriver() { Stop(); }
    void Start(); // a fresh program, as at start-up
    void Stop() { m_app.reset(); }
    CMainFrame* Frame() const { return m_app->MainWnd(); }
    // A ribbon widget by its command ID, as a user finds it by its label.
    template <typename T = QLineEdit> T* Ribbon(const char* id) const
    {
        T* widget = Frame()->Ribbon()->findChild<T*>(id);
        if (!widget)
            qFatal("the ribbon has no %s", id);
        return widget;
    }
    CPlyforgeDoc* Doc() const { return Frame()->ActiveDocument(); }
    CPlyforgeView* MainView() const { return Frame()->MainViewOf(nullptr); }
    // Clicks the tree item with this text on its label, as a user does.
    void Click(const QString& text) const;
    // Presses a ribbon button; types the count and presses Apply, the theory's or the experiment's.
    void Press(const char* id) const { QTest::mouseClick(Ribbon<QToolButton>(id), Qt::LeftButton); }
    void Apply(const QString& count, bool experiment = false) const;
    RecordingMessageSink& sink = Recorded();

private:
    std::unique_ptr<CPlyforgeApp> m_app;
};

// A number as the results lists show it ("%g"); the texts of one grid row; a click on
// the centre of a cell.
QString GText(double value);
QStringList RowTexts(const CListCtrlReport* grid, int row);
void ClickCell(CListCtrlReport* grid, int row, int column);

// A file's bytes (empty when it cannot be read); WriteFile returns the path, or an
// empty one when it could not write.
QByteArray ReadAll(const QString& path);
QString WriteFile(const QString& path, const QByteArray& bytes);

// Stress-strain curves for the chart tests.
struct Curve {
    std::vector<double> strain, stress;
};
// Eleven readings each, on a straight line; strains offset by 0.01 % per curve so
// that no two curves share an x.
std::vector<Curve> ShortCurves(size_t count);
// The results view's steps after a calculation: layout 1, a title, the curves named
// "Lamina # 1" on, the size.
void ShowCurves(OrvaneChart::CChartView& view, const std::vector<Curve>& curves, int width = 900, int height = 600);

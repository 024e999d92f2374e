#include "guitestsupport.h"

#include "util/formattext.h"

#include <QFile>
#include <QSettings>
#include <QStandardPaths>

void IsolateSettings()
{
    QStandardPaths::setTestModeEnabled(true);
    // A folder of this process's own: test programs run side by side (ctest -j)
    // and would otherwise clear and write one another's settings.
    static QTemporaryDir folder;
    QSettings::setDefaultFormat(QSettings::IniFormat);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, folder.path());
    QCoreApplication::setOrganizationName("Plyforge");
    QCoreApplication::setApplicationName("Plyforge");
    QSettings().clear();
    InstallMessageSink(qApp, &Recorded()); // every message of the test program, recorded
}

RecordingMessageSink& Recorded()
{
    static RecordingMessageSink sink;
    return sink;
}

void AppDriver::Start()
{
    Stop();
    sink.Clear();
    m_app = std::make_unique<CPlyforgeApp>(CPlyforgeApp::Options{false, 0, {}, true});
    QVERIFY(m_app->InitInstance());
    Frame()->Files()->SetSaveQuestion([] { return ProjectFiles::SaveAnswer::Discard; });
    QVERIFY(QTest::qWaitForWindowExposed(Frame()));
}

void AppDriver::Click(const QString& text) const
{
    CTreeCtrlCustom* tree = Frame()->MainMenuView()->Tree();
    const QList<QTreeWidgetItem*> items = tree->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
    QVERIFY2(!items.isEmpty(), qPrintable(text));
    const QRect rect = tree->visualItemRect(items.first());
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, QPoint(rect.left() + 24, rect.center().y()));
}

void AppDriver::Apply(const QString& count, bool experiment) const
{
    Ribbon(experiment ? "ID_EXPERIMT_LAMINA" : "ID_THEORY_LAMINA")->setText(count);
    Press(experiment ? "ID_EXPERIMT_LMN_NUM_OK" : "ID_THEORY_LMN_NUM_OK");
}

QString GText(double value) { return QString::fromStdString(FormatText("%g", value)); }

QStringList RowTexts(const CListCtrlReport* grid, int row)
{
    QStringList texts;
    for (int column = 0; column < grid->GetColumnCount(); ++column)
        texts << grid->GetItemText(row, column);
    return texts;
}

void ClickCell(CListCtrlReport* grid, int row, int column)
{
    const QPoint centre = grid->visualRect(grid->model()->index(row, column)).center();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, centre);
}

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() ? path : QString();
}

std::vector<Curve> ShortCurves(size_t count)
{
    std::vector<Curve> curves(count);
    for (size_t k = 0; k < count; ++k) {
        for (int i = 0; i <= 10; ++i) {
            curves[k].strain.push_back(0.2 * i + 0.01 * double(k + 1));
            curves[k].stress.push_back(40.0 * i + 5.0 * double(k));
        }
    }
    return curves;
}

void ShowCurves(OrvaneChart::CChartView& view, const std::vector<Curve>& curves, int width, int height)
{
    std::vector<std::vector<double>> arrays;
    std::vector<std::string> names;
    for (size_t k = 0; k < curves.size(); ++k) {
        arrays.push_back(curves[k].strain);
        arrays.push_back(curves[k].stress);
        names.push_back("Lamina # " + std::to_string(k + 1));
    }
    view.SetLayout(1);
    view.SetTitle("Stress-Strain Curve");
    QVERIFY(view.SetData(arrays, names));
    view.SetChartSize(width, height);
}

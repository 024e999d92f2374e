#include "guitestsupport.h"

#include "app/childframe.h"
#include "app/mainframe.h"
#include "app/mainmenuview.h"
#include "app/mditabarea.h"
#include "app/plyforgeview.h"
#include "app/ribbonbar.h"
#include "controls/treectrlcustom.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QToolButton>
#include <QTest>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

QStringList RecordingMessageSink::Messages() const
{
    QStringList list;
    for (const std::string& text : messages)
        list << QString::fromStdString(text);
    return list;
}

void IsolateSettings()
{
    QStandardPaths::setTestModeEnabled(true);
    // A folder of this process's own: test programs run side by side (ctest -j)
    // and would otherwise clear and write one another's settings.
    static QTemporaryDir folder;
    QSettings::setDefaultFormat(QSettings::IniFormat);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, folder.path());
    QCoreApplication::setOrganizationName("Local AppWizard-Generated Applications");
    QCoreApplication::setApplicationName("Plyforge");
    QSettings().clear();
}

bool ClickTreeItem(CMainFrame* frame, const QString& text)
{
    CTreeCtrlCustom* tree = frame->MainMenuView()->Tree();
    const QList<QTreeWidgetItem*> items = tree->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
    if (items.isEmpty())
        return false;
    const QRect rect = tree->visualItemRect(items.first());
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, QPoint(rect.left() + 24, rect.center().y()));
    return true;
}

CPlyforgeView* FindMainView(CMainFrame* frame) { return frame->MainViewOf(nullptr); }

namespace {

template <typename T> T* Named(const QWidget* parent, const char* id)
{
    T* widget = parent->findChild<T*>(QString::fromLatin1(id));
    if (!widget)
        qFatal("the ribbon has no %s", id);
    return widget;
}

} // namespace

RibbonWidgets::RibbonWidgets(CMainFrame* frame)
{
    const QWidget* r = frame->Ribbon();
    projectNew = Named<QToolButton>(r, "ID_PROJECT_NEW");
    theoryLamina = Named<QLineEdit>(r, "ID_THEORY_LAMINA");
    theoryApply = Named<QToolButton>(r, "ID_THEORY_LMN_NUM_OK");
    theoryScaleFactor = Named<QLineEdit>(r, "ID_THEORY_CM_SCALE_FACTOR");
    theoryCalculate = Named<QToolButton>(r, "ID_THEORY_CALCULATE");
    experimentLamina = Named<QLineEdit>(r, "ID_EXPERIMT_LAMINA");
    experimentApply = Named<QToolButton>(r, "ID_EXPERIMT_LMN_NUM_OK");
    elasticMin = Named<QLineEdit>(r, "ID_EXPERIMT_EMIN");
    elasticMax = Named<QLineEdit>(r, "ID_EXPERIMT_EMAX");
    experimentCalculate = Named<QToolButton>(r, "ID_EXPERIMT_CALCULATE");
    menuViewCheck = Named<QCheckBox>(r, "ID_CHECK_TREEMENU");
    logViewCheck = Named<QCheckBox>(r, "ID_CHECK_LOGVIEW");
}

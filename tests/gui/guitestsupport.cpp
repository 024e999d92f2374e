#include "guitestsupport.h"

#include "app/childframe.h"
#include "app/mainframe.h"
#include "app/mainmenuview.h"
#include "app/mditabarea.h"
#include "app/plyforgeview.h"
#include "controls/treectrlcustom.h"

#include <QCoreApplication>
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

CPlyforgeView* FindMainView(CMainFrame* frame)
{
    for (CChildFrame* child : frame->TabArea()->Children()) {
        if (auto* view = qobject_cast<CPlyforgeView*>(child->View()))
            return view;
    }
    return nullptr;
}

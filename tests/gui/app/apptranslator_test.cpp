// The program's texts in the user's language through Qt's translations: English
// for every locale but a Korean one, mending the original's messages and labels; a
// Korean locale keeps the original texts. Message boxes carry their window's title.
#include "app/apptranslator.h"
#include "controls/reportmodel.h"
#include "guitestsupport.h"

#include <QDialog>
#include <QLabel>
#include <QMainWindow>
#include <QMessageBox>
#include <QTimer>

namespace {

QStringList LabelTexts(const QWidget& widget)
{
    QStringList texts;
    for (const QLabel* label : widget.findChildren<QLabel*>())
        texts << label->text();
    return texts;
}

const QString kPlace = "\nExperimental Lamina #2, row 5, Stress: \"abc\"";

} // namespace

class AppTranslatorTest : public QObject {
    Q_OBJECT

    RecordingMessageSink& m_sink = Recorded();

private slots:
    void initTestCase() { IsolateSettings(); }
    void init() { m_sink.Clear(); }

    void englishMendsMessagesAndLabels()
    {
        AppTranslator translator;
        QVERIFY(translator.Install(MessageLanguage::English));
        ShowMessageBox(qApp, QString::fromUtf8(msg::kNotANumber) + kPlace);
        WindowMessageSink(qApp).ShowMessage(msg::kElasticMaxGreater); // as the engine shows it
        QCOMPARE(m_sink.Messages(), (QStringList{"Some readings are not numbers." + kPlace,
                                                 "Elastic Max. must be greater than Elastic Min."}));

        CLaminaDlg form;
        QCOMPARE(form.ConstituentGrid()->Model()->ColumnTitle(2), QString("Density (g/cm³)"));
        QCOMPARE(form.ConstituentGrid()->Model()->ColumnTitle(4), QString("Poisson's Ratio"));
        QCOMPARE(form.LaminaGrid()->Model()->ColumnTitle(0), QString("FAW (fraction)"));
        QCOMPARE(form.ConstituentGrid()->GetItemText(0, 1), QString("untitled"));
        QVERIFY(LabelTexts(CResultTheoryView()).contains("Translation for ABAQUS"));
        const QStringList ribbon = LabelTexts(CRibbonBar());
        QVERIFY(ribbon.contains("The number of laminae") && ribbon.contains("The number of specimens"));
    }

    void koreanKeepsTheOriginalTexts()
    {
        AppTranslator translator;
        QVERIFY(translator.Install(MessageLanguage::Korean));
        ShowMessageBox(qApp, QString::fromUtf8(msg::kNotANumber) + kPlace);
        ShowMessageBox(qApp, QString::fromUtf8(msg::kEnterNumber));
        // Only the stray digits after the original's text go.
        QCOMPARE(m_sink.Messages(),
                 (QStringList{QString::fromUtf8("실수가 아닌 데이터가 있습니다") + kPlace, msg::kEnterNumber}));
    }

    void boxesCarryTheMainWindowsTitle()
    {
        QMainWindow window;
        window.setWindowTitle("tensile.plyforge[*] - Plyforge");
        window.show();
        QDialog dialog(&window);
        dialog.setWindowTitle("Choose the columns");
        dialog.show();
        dialog.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QString title;
        QTimer::singleShot(0, [&title] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                title = box->windowTitle();
                box->accept();
            }
        });
        InstallMessageSink(qApp, nullptr);
        ShowMessageBox(&dialog, "A message");
        InstallMessageSink(qApp, &m_sink);
        QCOMPARE(title, QString("tensile.plyforge - Plyforge"));
    }
};

QTEST_MAIN(AppTranslatorTest)
#include "apptranslator_test.moc"

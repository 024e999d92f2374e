// Every look is readable: the ribbon's labels, the log pane's text and the readings
// grid's text stand out from their background, as drawn, by at least 4.5:1 (the
// contrast asked of body text). What is disabled looks it, in every look; the look
// chosen is the next start's.
#include "app/applook.h"
#include "guitestsupport.h"

#include <QLabel>
#include <QTextBlock>

#include <map>

namespace {

double Luminance(QColor color)
{
    const auto channel = [](int value) {
        const double v = value / 255.0;
        return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(color.red()) + 0.7152 * channel(color.green()) + 0.0722 * channel(color.blue());
}

double Contrast(QColor a, QColor b)
{
    const double la = Luminance(a), lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The colour most pixels of the image have: the background text is drawn on.
QColor Background(const QImage& image)
{
    std::map<QRgb, int> counts;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            ++counts[image.pixel(x, y)];
    return QColor(std::max_element(counts.begin(), counts.end(), [](auto& a, auto& b) {
                      return a.second < b.second;
                  })->first);
}

// The contrast of the drawn text on its background: the pixel farthest from the
// background, as the core of a glyph is drawn in the text's own colour.
double DrawnContrast(const QImage& image)
{
    const QColor background = Background(image);
    double best = 1;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            best = std::max(best, Contrast(image.pixelColor(x, y), background));
    return best;
}

} // namespace

class AppLookTest : public QObject, AppDriver {
    Q_OBJECT

private slots:
    void initTestCase() { IsolateSettings(); }
    void cleanup() { Stop(); }

    // Each disabled text colour is far from its enabled one and fainter on its
    // background, yet still there to be read, as is a disabled selection's text; the
    // ribbon's large Calculate buttons draw their labels so, one enabled, one not.
    void everyLookIsReadableAndDisabledLooksDisabled()
    {
        Start();
        QCOMPARE(Frame()->AppLook(), AppLook::kWindows7); // a first start's look
        Frame()->resize(1600, 1000); // every ribbon panel in view, none scrolled away
        // Specimens and no laminae: the experiment can be calculated, the theory cannot.
        QVERIFY(Frame()->OpenProject(PLYFORGE_EXAMPLES "/three-tensile-tests.plyforge"));
        Press("ID_EXPERIMT_CALCULATE"); // a log with headings in their colour
        CRichEditCustomCtrl* log = Frame()->LogView()->RichEdit();
        QVERIFY(log->toPlainText().contains("##id:3"));
        CListCtrlReport* grid = MainView()->ExperimentDlg()->Grid();
        const auto calculate = [this](const char* id) {
            QToolButton* button = Ribbon<QToolButton>(id);
            const QImage image = button->grab().toImage();
            return std::pair{button->isEnabled(),
                             DrawnContrast(image.copy(0, image.height() * 2 / 3, image.width(), image.height() / 3))};
        };
        const std::pair<QPalette::ColorRole, QPalette::ColorRole> roles[] = {{QPalette::WindowText, QPalette::Window},
                                                                             {QPalette::ButtonText, QPalette::Button},
                                                                             {QPalette::Text, QPalette::Base}};
        for (const AppLook::Look& look : AppLook::Looks()) {
            Frame()->OnApplicationLook(look.id);
            QApplication::processEvents();
            const QString name = QString::fromLatin1(look.label).remove('&');
            // Each ribbon label as drawn on the ribbon.
            const QImage ribbon = Frame()->Ribbon()->grab().toImage();
            for (QLabel* label : Frame()->Ribbon()->findChildren<QLabel*>()) {
                if (!label->isVisible() || label->text().isEmpty())
                    continue;
                const QRect at(label->mapTo(Frame()->Ribbon(), QPoint(0, 0)), label->size());
                const double contrast = DrawnContrast(ribbon.copy(at));
                QVERIFY2(contrast >= 4.5, qPrintable(QString("%1, \"%2\": %3").arg(name, label->text()).arg(contrast)));
            }
            // Every colour of the log's text against the log's drawn paper.
            const QColor paper = Background(log->viewport()->grab().toImage());
            for (QTextBlock block = log->document()->begin(); block.isValid(); block = block.next()) {
                for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment) {
                    const QColor ink = fragment.fragment().charFormat().foreground().color();
                    QVERIFY2(Contrast(ink, paper) >= 4.5, qPrintable(name + ", log: " + block.text()));
                }
            }
            const double cells = DrawnContrast(grid->viewport()->grab().toImage());
            QVERIFY2(cells >= 4.5, qPrintable(QString("%1, grid: %2").arg(name).arg(cells)));

            const QPalette p = qApp->palette();
            for (const auto& [ink, paper] : roles) {
                const QColor on = p.color(QPalette::Active, ink), off = p.color(QPalette::Disabled, ink);
                const double enabled = Contrast(on, p.color(QPalette::Active, paper));
                const double disabled = Contrast(off, p.color(QPalette::Disabled, paper));
                QVERIFY2(Contrast(on, off) >= 2 && disabled <= enabled / 1.5 && disabled >= 2,
                         qPrintable(QString("%1, role %2: %3 against %4").arg(name).arg(ink).arg(disabled).arg(enabled)));
            }
            QVERIFY2(Contrast(p.color(QPalette::Disabled, QPalette::HighlightedText),
                              p.color(QPalette::Disabled, QPalette::Highlight)) >= 3,
                     qPrintable(name));
            const auto [experimentEnabled, enabled] = calculate("ID_EXPERIMT_CALCULATE");
            const auto [theoryEnabled, disabled] = calculate("ID_THEORY_CALCULATE");
            QVERIFY(experimentEnabled && !theoryEnabled);
            QVERIFY2(enabled >= 4.5 && disabled <= enabled / 1.5,
                     qPrintable(QString("%1, Calculate: %2, disabled %3").arg(name).arg(enabled).arg(disabled)));
        }
        // The look chosen is the one the program starts with next.
        Frame()->OnApplicationLook(216);
        QVERIFY(qApp->palette().color(QPalette::Window).lightness() < 100); // the black look
        Start();
        QCOMPARE(Frame()->AppLook(), 216);
    }
};

QTEST_MAIN(AppLookTest)
#include "applook_test.moc"

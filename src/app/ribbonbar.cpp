#include "app/ribbonbar.h"

#include "experiment/elasticrangestandard.h"
#include "util/numberparser.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QStyle>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QScrollArea>
#include <QScrollBar>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QLabel* SmallLabel(const QString& text)
{
    auto* label = new QLabel(text);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return label;
}

} // namespace

CRibbonBar::CRibbonBar(QWidget* parent) : QWidget(parent)
{
    setObjectName("RibbonBar");
    setAutoFillBackground(false);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(4, 2, 4, 2);
    outer->setSpacing(2);

    // Quick-access bar, above the ribbon.
    auto* quick = new QHBoxLayout;
    quick->setSpacing(1);
    m_quickNew = SmallButton("ID_FILE_NEW_QAT", tr("New"), ":/icons/new16.png");
    m_quickOpen = SmallButton("ID_FILE_OPEN_QAT", tr("Open"), ":/icons/open16.png");
    m_quickSave = SmallButton("ID_FILE_SAVE_QAT", tr("Save"), ":/icons/save16.png");
    m_quickPrint = SmallButton("ID_FILE_PRINT_DIRECT_QAT", tr("Quick Print"), ":/icons/quickprint16.png");
    for (QToolButton* b : {m_quickNew, m_quickOpen, m_quickSave, m_quickPrint}) {
        b->setToolButtonStyle(Qt::ToolButtonIconOnly);
        quick->addWidget(b);
    }
    quick->addStretch();
    outer->addLayout(quick);

    // The tab row: application button, the one category, then Style and About.
    auto* tabs = new QHBoxLayout;
    tabs->setSpacing(6);
    m_appButton = new QToolButton;
    m_appButton->setObjectName("ID_APP_BUTTON");
    m_appButton->setText(tr("File"));
    m_appButton->setToolTip(tr("File"));
    m_appButton->setPopupMode(QToolButton::InstantPopup);
    m_appButton->setToolButtonStyle(Qt::ToolButtonTextOnly);
    m_appButton->setStyleSheet("QToolButton { background: #2b579a; color: white; font-weight: bold;"
                               " padding: 2px 14px; border: none; border-radius: 2px; }"
                               "QToolButton::menu-indicator { image: none; }");
    m_fileMenu = new QMenu(m_appButton);
    m_appButton->setMenu(m_fileMenu);
    tabs->addWidget(m_appButton);
    auto* home = new QLabel(tr("Home"));
    home->setObjectName("HomeCategory");
    home->setStyleSheet("QLabel { font-weight: bold; padding: 2px 10px; border: 1px solid palette(mid);"
                        " border-bottom: none; border-top-left-radius: 3px; border-top-right-radius: 3px;"
                        " background: palette(base); }");
    tabs->addWidget(home);
    tabs->addStretch();
    m_styleButton = new QToolButton;
    m_styleButton->setObjectName("ID_STYLE_BUTTON");
    m_styleButton->setText(tr("Style"));
    m_styleButton->setIcon(QIcon(":/icons/style16.png"));
    m_styleButton->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_styleButton->setPopupMode(QToolButton::InstantPopup);
    m_styleButton->setAutoRaise(true);
    m_styleMenu = new QMenu(m_styleButton);
    m_styleButton->setMenu(m_styleMenu);
    tabs->addWidget(m_styleButton);
    m_aboutButton = SmallButton("ID_APP_ABOUT", tr("About"), ":/icons/about16.png");
    m_aboutButton->setToolButtonStyle(Qt::ToolButtonIconOnly);
    m_aboutButton->setToolTip(tr("About Plyforge"));
    tabs->addWidget(m_aboutButton);
    outer->addLayout(tabs);

    // The panels of "Home", in a row that scrolls sideways when the window is narrower
    // than the panels, rather than making the window wider than the screen.
    auto* panelRow = new QWidget;
    panelRow->setObjectName("RibbonPanels");
    auto* panels = new QHBoxLayout(panelRow);
    panels->setContentsMargins(0, 0, 0, 0);
    panels->setSpacing(0);

    m_projectNew = LargeButton("ID_PROJECT_NEW", tr("New"), ":/icons/new32.png");
    m_projectNew->setToolTip(tr("Start a new, empty project"));
    panels->addWidget(MakePanel(tr("Project"), m_projectNew));
    {
        auto* content = new QWidget;
        auto* column = new QVBoxLayout(content);
        column->setContentsMargins(0, 0, 0, 0);
        column->setSpacing(1);
        m_undo = SmallButton("ID_EDIT_UNDO", tr("Undo"), {});
        m_redo = SmallButton("ID_EDIT_REDO", tr("Redo"), {});
        m_undo->setIcon(style()->standardIcon(QStyle::SP_ArrowBack));
        m_redo->setIcon(style()->standardIcon(QStyle::SP_ArrowForward));
        column->addWidget(m_undo);
        column->addWidget(m_redo);
        panels->addWidget(MakePanel(tr("Edit"), content));
    }

    {
        QWidget* content = nullptr;
        QGridLayout* grid = FormulaPanel(
            content, {"ID_THEORY_LAMINA", "ID_THEORY_LMN_NUM_OK", tr("The number of lamina"),
                      tr("Number of laminae of the theory project; Apply starts a new project")},
            m_theoryLamina, m_theoryApply);
        m_theoryScaleFactor = MakeEdit("ID_THEORY_CM_SCALE_FACTOR", 100);
        m_theoryScaleFactor->setToolTip(tr("Scale factor of the printed laminate compliance matrix"));
        m_theoryCalculate = LargeButton("ID_THEORY_CALCULATE", tr("Calculate"), ":/icons/calculate32.png");
        m_theoryCalculate->setToolTip(tr("Run the theory calculation"));
        grid->addWidget(SmallLabel(tr("Scale factor of")), 0, 2);
        grid->addWidget(SmallLabel(tr("compliance matrix")), 1, 2);
        grid->addWidget(m_theoryScaleFactor, 2, 2);
        grid->addWidget(m_theoryCalculate, 0, 3, 3, 1);
        panels->addWidget(MakePanel(tr("Theoretical Formula"), content));
    }
    {
        QWidget* content = nullptr;
        QGridLayout* grid = FormulaPanel(
            content, {"ID_EXPERIMT_LAMINA", "ID_EXPERIMT_LMN_NUM_OK", tr("The number of lamina", "specimens"),
                      tr("Number of specimens of the experiment; Apply starts a new project")},
            m_experimentLamina, m_experimentApply);
        m_elasticMin = MakeEdit("ID_EXPERIMT_EMIN", 50);
        m_elasticMax = MakeEdit("ID_EXPERIMT_EMAX", 50);
        m_elasticMin->setToolTip(tr("Lower strain bound of the elastic range, %"));
        m_elasticMax->setToolTip(tr("Upper strain bound of the elastic range, %"));
        m_experimentCalculate =
            LargeButton("ID_EXPERIMT_CALCULATE", tr("Calculate"), ":/icons/calculate_exp32.png");
        m_experimentCalculate->setToolTip(tr("Evaluate the specimens"));
        grid->addWidget(SmallLabel(tr("Elastic range")), 0, 2, 1, 2);
        grid->addWidget(SmallLabel(tr("Min.")), 1, 2);
        grid->addWidget(m_elasticMin, 1, 3);
        grid->addWidget(SmallLabel(tr("Max.")), 2, 2);
        grid->addWidget(m_elasticMax, 2, 3);
        // How the modulus is taken, and the ranges the standards prescribe.
        m_modulus = new QComboBox;
        m_modulus->setObjectName("ID_EXPERIMT_MODULUS");
        m_modulus->addItems({tr("Chord"), tr("Regression")});
        m_modulus->setToolTip(tr("Modulus over the elastic range: the chord between its ends, or the "
                                 "least-squares slope over every reading in it"));
        m_rangePreset = new QComboBox;
        m_rangePreset->setObjectName("ID_EXPERIMT_RANGE_PRESET");
        for (const ElasticRangeStandard& standard : kElasticRangeStandards)
            m_rangePreset->addItem(QString("%1 (%2\u2013%3 %)").arg(standard.name, standard.low_text, standard.high_text));
        m_rangePreset->addItem(tr("Custom"));
        m_rangePreset->setToolTip(tr("Elastic range of a tensile standard"));
        grid->addWidget(SmallLabel(tr("Modulus")), 0, 4);
        grid->addWidget(m_modulus, 1, 4);
        grid->addWidget(m_rangePreset, 2, 4);
        grid->addWidget(m_experimentCalculate, 0, 5, 3, 1);
        panels->addWidget(MakePanel(tr("Experimental Formula"), content));
    }
    {
        auto* content = new QWidget;
        auto* column = new QVBoxLayout(content);
        column->setContentsMargins(0, 0, 0, 0);
        column->setSpacing(1);
        m_menuViewCheck = new QCheckBox(tr("Menu View"));
        m_menuViewCheck->setObjectName("ID_CHECK_TREEMENU");
        m_logViewCheck = new QCheckBox(tr("Log View"));
        m_logViewCheck->setObjectName("ID_CHECK_LOGVIEW");
        m_statusBarCheck = new QCheckBox(tr("Status Bar"));
        m_statusBarCheck->setObjectName("ID_VIEW_STATUS_BAR");
        column->addWidget(m_menuViewCheck);
        column->addWidget(m_logViewCheck);
        column->addWidget(m_statusBarCheck);
        panels->addWidget(MakePanel(tr("View"), content));
    }
    m_version = LargeButton("ID_BUTTON_VERSION", tr("Version"), ":/icons/version32.png");
    m_version->setToolTip(tr("Show the release date of this build"));
    panels->addWidget(MakePanel(tr("Help"), m_version));
    panels->addStretch();
    auto* scroll = new QScrollArea;
    scroll->setObjectName("RibbonScroll");
    scroll->setWidget(panelRow);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    scroll->setStyleSheet("QScrollArea, QScrollArea > QWidget > QWidget#RibbonPanels { background: transparent; }");
    scroll->viewport()->setAutoFillBackground(false);
    // Room for the scroll bar under the panels, so that it never covers them.
    scroll->setFixedHeight(panelRow->sizeHint().height() + scroll->horizontalScrollBar()->sizeHint().height());
    outer->addWidget(scroll);
    ConnectSignals();
}

void CRibbonBar::ConnectSignals()
{
    // The count edits apply on Enter as the Apply buttons do.
    connect(m_theoryApply, &QToolButton::clicked, this, &CRibbonBar::TheoryCountApplied);
    connect(m_theoryLamina, &QLineEdit::returnPressed, this, &CRibbonBar::TheoryCountApplied);
    connect(m_experimentApply, &QToolButton::clicked, this, &CRibbonBar::ExperimentCountApplied);
    connect(m_experimentLamina, &QLineEdit::returnPressed, this, &CRibbonBar::ExperimentCountApplied);
    for (QLineEdit* edit : {m_theoryScaleFactor, m_elasticMin, m_elasticMax})
        connect(edit, &QLineEdit::textEdited, this, &CRibbonBar::ValuesEdited);
    // The preset box shows the standard the range is, or Custom.
    for (QLineEdit* edit : {m_elasticMin, m_elasticMax})
        connect(edit, &QLineEdit::textChanged, this, &CRibbonBar::ShowRangePreset);
    connect(m_rangePreset, &QComboBox::activated, this, &CRibbonBar::ChooseRangePreset);
    connect(m_modulus, &QComboBox::activated, this, &CRibbonBar::ValuesEdited);
    connect(m_theoryCalculate, &QToolButton::clicked, this, &CRibbonBar::TheoryCalculateRequested);
    connect(m_experimentCalculate, &QToolButton::clicked, this, &CRibbonBar::ExperimentCalculateRequested);
    connect(m_version, &QToolButton::clicked, this, &CRibbonBar::VersionRequested);
    connect(m_aboutButton, &QToolButton::clicked, this, &CRibbonBar::AboutRequested);
    connect(m_menuViewCheck, &QCheckBox::clicked, this, &CRibbonBar::MenuViewToggled);
    connect(m_logViewCheck, &QCheckBox::clicked, this, &CRibbonBar::LogViewToggled);
    connect(m_statusBarCheck, &QCheckBox::clicked, this, &CRibbonBar::StatusBarToggled);
}

QLineEdit* CRibbonBar::EditOf(Edit edit) const
{
    switch (edit) {
    case Edit::TheoryCount:
        return m_theoryLamina;
    case Edit::ScaleFactor:
        return m_theoryScaleFactor;
    case Edit::ExperimentCount:
        return m_experimentLamina;
    case Edit::ElasticMin:
        return m_elasticMin;
    case Edit::ElasticMax:
        return m_elasticMax;
    }
    return m_theoryLamina;
}

QString CRibbonBar::Text(Edit edit) const { return EditOf(edit)->text(); }

void CRibbonBar::SetText(Edit edit, const QString& text) { EditOf(edit)->setText(text); }

void CRibbonBar::SetCalculateEnabled(bool theory, bool experiment)
{
    m_theoryCalculate->setEnabled(theory);
    m_experimentCalculate->setEnabled(experiment);
}

void CRibbonBar::SetPaneChecks(bool menu_view, bool log_view, bool status_bar)
{
    m_menuViewCheck->setChecked(menu_view);
    m_logViewCheck->setChecked(log_view);
    m_statusBarCheck->setChecked(status_bar);
}

void CRibbonBar::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() != QEvent::PaletteChange && event->type() != QEvent::ApplicationPaletteChange)
        return;
    // Qt resolves a style sheet's palette() once; without this the panels would keep
    // the colours of the look they were made in.
    for (QWidget* widget : findChildren<QWidget*>()) {
        if (const QString sheet = widget->styleSheet(); !sheet.isEmpty()) {
            widget->setStyleSheet(QString());
            widget->setStyleSheet(sheet);
        }
    }
}

QWidget* CRibbonBar::MakePanel(const QString& caption, QWidget* content)
{
    auto* panel = new QWidget;
    panel->setObjectName("RibbonPanel");
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(8, 3, 8, 1);
    layout->setSpacing(1);
    layout->addWidget(content, 1, Qt::AlignLeft | Qt::AlignTop);
    auto* label = new QLabel(caption);
    label->setObjectName("RibbonPanelCaption");
    label->setAlignment(Qt::AlignHCenter);
    // In the window text colour, which follows the look (a paler grey fell below 4.5:1
    // on some looks, and a style sheet's colour would not follow a change of look).
    layout->addWidget(label);
    // Panels keep their size; the ribbon never squeezes a label or an edit.
    panel->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    // A separator line on the right of each panel.
    panel->setStyleSheet("QWidget#RibbonPanel { border-right: 1px solid palette(mid); }");
    return panel;
}

QToolButton* CRibbonBar::LargeButton(const char* id, const QString& text, const QString& icon)
{
    auto* button = new QToolButton;
    button->setObjectName(id);
    button->setText(text);
    button->setIcon(QIcon(icon));
    button->setIconSize(QSize(32, 32));
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setAutoRaise(true);
    button->setMinimumWidth(56);
    return button;
}

bool CRibbonBar::RegressionModulus() const { return m_modulus->currentIndex() == 1; }

void CRibbonBar::SetRegressionModulus(bool regression) { m_modulus->setCurrentIndex(regression ? 1 : 0); }

void CRibbonBar::ShowRangePreset()
{
    int preset = kElasticRangeStandardCount; // Custom
    double low = 0, high = 0;
    if (ParseNumber(m_elasticMin->text().trimmed().toStdString(), low) &&
        ParseNumber(m_elasticMax->text().trimmed().toStdString(), high))
        if (const ElasticRangeStandard* standard = FindElasticRangeStandard(low, high))
            preset = static_cast<int>(standard - kElasticRangeStandards);
    const QSignalBlocker quiet(m_rangePreset);
    m_rangePreset->setCurrentIndex(preset);
}

void CRibbonBar::ChooseRangePreset(int preset)
{
    if (preset < 0 || preset >= kElasticRangeStandardCount)
        return;
    m_elasticMin->setText(kElasticRangeStandards[preset].low_text);
    m_elasticMax->setText(kElasticRangeStandards[preset].high_text);
    Q_EMIT ValuesEdited();
}

void CRibbonBar::Follow(QToolButton* button, QAction* action, bool tooltip)
{
    // The button keeps its own label and icon size; the command is the action's, and
    // so is whether it can be given.
    connect(button, &QToolButton::clicked, action, &QAction::trigger);
    const auto follow = [button, action, tooltip] {
        button->setEnabled(action->isEnabled());
        if (tooltip)
            button->setToolTip(action->text());
    };
    connect(action, &QAction::changed, button, follow);
    follow();
}

void CRibbonBar::SetEditActions(QAction* undo, QAction* redo)
{
    // The buttons keep their short labels, so the ribbon does not shift as the step
    // changes; the step ("Undo Import") is their tooltip.
    Follow(m_undo, undo, true);
    Follow(m_redo, redo, true);
}

void CRibbonBar::SetProjectActions(QAction* newProject, QAction* open, QAction* save, QAction* quickPrint)
{
    for (QToolButton* button : {m_projectNew, m_quickNew})
        Follow(button, newProject, false);
    Follow(m_quickOpen, open, false);
    Follow(m_quickSave, save, false);
    Follow(m_quickPrint, quickPrint, false);
}

QToolButton* CRibbonBar::SmallButton(const char* id, const QString& text, const QString& icon)
{
    auto* button = new QToolButton;
    button->setObjectName(id);
    button->setText(text);
    button->setToolTip(text);
    button->setIcon(QIcon(icon));
    button->setIconSize(QSize(16, 16));
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    button->setAutoRaise(true);
    return button;
}

QGridLayout* CRibbonBar::FormulaPanel(QWidget*& content, const CountBox& count, QLineEdit*& edit,
                                      QToolButton*& apply)
{
    // Both formula panels start with their count: a label over an edit and Apply.
    content = new QWidget;
    auto* grid = new QGridLayout(content);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(2);
    edit = MakeEdit(count.edit_id, 64);
    edit->setToolTip(count.tip);
    apply = SmallButton(count.apply_id, tr("Apply"), ":/icons/apply16.png");
    grid->addWidget(SmallLabel(count.label), 0, 0, 1, 2);
    grid->addWidget(edit, 1, 0);
    grid->addWidget(apply, 1, 1);
    return grid;
}

QLineEdit* CRibbonBar::MakeEdit(const char* id, int width)
{
    auto* edit = new QLineEdit;
    edit->setObjectName(id);
    edit->setFixedWidth(width);
    return edit;
}

void CRibbonBar::paintEvent(QPaintEvent*)
{
    // A light band behind the panels, as a ribbon has.
    QPainter painter(this);
    const QColor window = palette().color(QPalette::Window);
    QLinearGradient gradient(0, 0, 0, height());
    gradient.setColorAt(0, window.lighter(104));
    gradient.setColorAt(1, window.darker(104));
    painter.fillRect(rect(), gradient);
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawLine(0, height() - 1, width(), height() - 1);
}

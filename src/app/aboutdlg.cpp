#include "app/aboutdlg.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(tr("About Plyforge"));
    auto* icon = new QLabel;
    icon->setPixmap(QPixmap(":/icons/app64.png").scaled(48, 48, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* layout = new QGridLayout(this);
    layout->addWidget(icon, 0, 0, 2, 1, Qt::AlignTop);
    auto* version = new QLabel(tr("Plyforge, Version %1").arg(QStringLiteral(PLYFORGE_VERSION)));
    version->setObjectName("VersionLabel");
    layout->addWidget(version, 0, 1);
    layout->addWidget(new QLabel(tr("Copyright (C) 2026 The Plyforge developers")), 1, 1);
    layout->addWidget(buttons, 0, 2, 1, 1, Qt::AlignTop);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

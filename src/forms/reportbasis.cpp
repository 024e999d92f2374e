#include "forms/reportbasis.h"

#include "doc/plyforgedoc.h"
#include "experiment/seriesbasis.h"
#include "forms/shownnumber.h"

#include <QObject>

#include <cmath>

namespace {

QString Shown(double value) { return std::isnan(value) ? QString() : ShownNumber::Text(value); }

double Osl(const BasisValues& values, BasisMethod method)
{
    switch (method) {
    case BasisMethod::Normal: return values.osl_normal;
    case BasisMethod::Lognormal: return values.osl_lognormal;
    case BasisMethod::Weibull: return values.osl_weibull;
    case BasisMethod::Nonparametric: break;
    }
    return std::nan("");
}

QString Names(const CPlyforgeDoc& doc, const BasisValues& values, const std::vector<int>& ids)
{
    QStringList names;
    for (const int i : values.outliers) {
        const ExperimentSpecimen* specimen = doc.FindSpecimen(ids[static_cast<size_t>(i)]);
        names << (specimen ? QString::fromStdString(specimen->DisplayName()) : QString::number(i));
    }
    return names.isEmpty() ? QObject::tr("none") : names.join(", ");
}

QString Summary(const CPlyforgeDoc& doc, const QString& property, const BasisValues& values,
                const std::vector<int>& ids)
{
    return QObject::tr("%1 (n = %2): %3. Outliers: %4.")
        .arg(property)
        .arg(values.n)
        .arg(QString::fromStdString(values.note), Names(doc, values, ids));
}

} // namespace

std::vector<ReportBlock> BasisReportBlocks(const CPlyforgeDoc& doc)
{
    const SeriesBasis basis = SeriesBasisOf(doc.specimens);
    std::vector<QStringList> rows;
    for (const BasisMethod method : kBasisMethods) {
        QStringList row{QString::fromLatin1(BasisMethodKey(method))};
        for (const BasisValues* values : {&basis.strength, &basis.modulus})
            row << Shown(Osl(*values, method)) << Shown(values->b.Of(method)) << Shown(values->a.Of(method));
        rows.push_back(row);
    }
    QStringList chosen{QObject::tr("chosen")};
    for (const BasisValues* values : {&basis.strength, &basis.modulus})
        chosen << (values->chosen ? QString::fromLatin1(BasisMethodKey(*values->chosen)) : QString())
               << Shown(values->b_basis) << Shown(values->a_basis);
    rows.push_back(chosen);
    const QStringList header{QObject::tr("Method"),           QObject::tr("Strength OSL"),
                             QObject::tr("Strength B-basis"), QObject::tr("Strength A-basis"),
                             QObject::tr("Modulus OSL"),      QObject::tr("Modulus B-basis (GPa)"),
                             QObject::tr("Modulus A-basis (GPa)")};
    return {{ReportBlock::Kind::Heading, QObject::tr("Test series: basis values (CMH-17-1G, one batch)"), {}, {}, nullptr},
            {ReportBlock::Kind::Table, {}, header, rows, nullptr},
            {ReportBlock::Kind::Text,
             Summary(doc, QObject::tr("Strength"), basis.strength, basis.strength_ids) + "\n" +
                 Summary(doc, QObject::tr("Modulus"), basis.modulus, basis.modulus_ids),
             {},
             {},
             nullptr}};
}

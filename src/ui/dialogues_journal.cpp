#include "dialogues_journal.h"

#include "conversion_texte.h"
#include "saisie_1252.h"

#include <QComboBox>
#include <QDateTime>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString format_fin = QStringLiteral("dd.MM.yyyy HH:mm:ss");

QDialogButtonBox* boutons_ok_annuler(QDialog* dialogue) {
    auto* boutons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialogue);
    boutons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Annuler"));
    QObject::connect(boutons, &QDialogButtonBox::accepted, dialogue, &QDialog::accept);
    QObject::connect(boutons, &QDialogButtonBox::rejected, dialogue, &QDialog::reject);
    return boutons;
}

QDateTime en_date_heure(horodatage t) {
    const date_heure d = decode(t);
    return {QDate(d.annee, d.mois, d.jour), QTime(d.heures, d.minutes, d.secondes)};
}

horodatage depuis_date_heure(const QDateTime& t) {
    return encode_date(t.date().year(), t.date().month(), t.date().day()) +
           encode_heure(t.time().hour(), t.time().minute(), t.time().second(), 0);
}

} // namespace

std::optional<QString> demande_motif(QWidget* parent, const QStringList& existants, const QString& actuel) {
    QDialog dialogue(parent);
    dialogue.setObjectName(QStringLiteral("dialogue_motif"));
    dialogue.setWindowTitle(QStringLiteral("Changer le motif"));
    auto* champ = new QComboBox(&dialogue);
    champ->setObjectName(QStringLiteral("nouveau_motif"));
    champ->setEditable(true);
    champ->setInsertPolicy(QComboBox::NoInsert);
    champ->addItems(existants);
    champ->setEditText(actuel);
    champ->lineEdit()->selectAll();
    champ->lineEdit()->setValidator(new saisie_1252(champ->lineEdit(), champ));
    champ->setMinimumContentsLength(30);
    auto* etiquette =
        new QLabel(QStringLiteral("&Nouveau motif (un motif de la liste y joint les appels) :"), &dialogue);
    etiquette->setBuddy(champ);
    auto* disposition = new QVBoxLayout(&dialogue);
    disposition->addWidget(etiquette);
    disposition->addWidget(champ);
    disposition->addWidget(boutons_ok_annuler(&dialogue));
    champ->setFocus();
    if (dialogue.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return champ->currentText();
}

std::optional<correction> demande_fin(QWidget* parent, const QString& appel, horodatage proposee,
                                      const std::function<fin_corrigee(horodatage)>& calcule) {
    QDialog dialogue(parent);
    dialogue.setObjectName(QStringLiteral("dialogue_fin"));
    dialogue.setWindowTitle(QStringLiteral("Corriger la fin de l'appel"));
    // A plain field: typed over whole, as a date and a time are written, which a date-time spin box does not
    // take in one go.
    auto* champ = new QLineEdit(en_date_heure(proposee).toString(format_fin), &dialogue);
    champ->setObjectName(QStringLiteral("fin_reelle"));
    champ->selectAll();
    auto* resultat = new QLabel(&dialogue);
    resultat->setObjectName(QStringLiteral("montant_corrige"));
    resultat->setWordWrap(true);
    // Room for a refusal on two lines: the dialog keeps the size it took for the first text.
    resultat->setMinimumHeight(2 * resultat->fontMetrics().lineSpacing());
    QDialogButtonBox* boutons = boutons_ok_annuler(&dialogue);
    auto* disposition = new QFormLayout(&dialogue);
    disposition->addRow(new QLabel(appel, &dialogue));
    disposition->addRow(QStringLiteral("&Fin r\u00e9elle :"), champ);
    disposition->addRow(resultat);
    disposition->addRow(boutons);

    fin_corrigee fin;
    const auto montre = [&] {
        const QDateTime lue = QDateTime::fromString(champ->text().trimmed(), format_fin);
        if (lue.isValid()) {
            fin = calcule(depuis_date_heure(lue));
        } else {
            fin = {};
            fin.message =
                QStringLiteral("Tapez la fin comme %1, par exemple %2.")
                    .arg(QStringLiteral("JJ.MM.AAAA hh:mm:ss"), en_date_heure(proposee).toString(format_fin))
                    .toStdString();
        }
        resultat->setText(fin.message.empty() ? QStringLiteral("Montant corrig\u00e9 : %1 FS")
                                                    .arg(QString::fromStdString(texte_montant(fin.centimes)))
                                              : depuis_utf8(fin.message));
        boutons->button(QDialogButtonBox::Ok)->setEnabled(fin.message.empty());
    };
    QObject::connect(champ, &QLineEdit::textChanged, &dialogue, montre);
    montre();
    champ->setFocus();
    if (dialogue.exec() != QDialog::Accepted || !fin.message.empty()) {
        return std::nullopt;
    }
    return fin.a_appliquer;
}

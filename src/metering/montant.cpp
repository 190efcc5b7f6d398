#include "metering/montant.h"

std::string texte_montant(std::int64_t centimes) {
    if (centimes < 0) { // only a hand-edited log gives one; shown as a person reads it
        return "-" + texte_montant(-centimes);
    }
    const std::int64_t reste = centimes % 100;
    return std::to_string(centimes / 100) + (reste < 10 ? ",0" : ",") + std::to_string(reste);
}

#include "metering/montant.h"

std::string texte_montant(std::int64_t centimes) {
    return std::to_string(centimes / 100) + "," + std::to_string(centimes % 100);
}

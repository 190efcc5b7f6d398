#include "outils_test.h"

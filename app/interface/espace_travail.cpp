#include "interface/espace_travail.h"

#pragma once

#include "Communs.h"

namespace lorvane::testing {

// A Bible with the 66 French book names and abbreviations and their real
// chapter counts; every chapter has 20 verses "Texte b.c.v" except a few
// with their real length (Jean 3: 36, Psaumes 23: 6, Psaumes 119: 176,
// Romains 8: 39). Jean 3:16 reads "Car Dieu a tant aimé le monde".
const Communs& FrenchBible();

}  // namespace lorvane::testing

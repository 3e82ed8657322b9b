#pragma once

#include "data/ConnectionSettings.h"

class Engine;

// Finds the farm database's connection values: from the scrambled "WTimes.DLL", or, where
// "Multiusers.Dat" marks a multi-customer installation, from the customer the user picks in the
// register "Masters". On failure the end of the program is asked for and the values it did not
// set stay empty; a missing "WTimes.DLL" stops the program at once.
ConnectionValues FindConStr();

// The connection to the register server, which stays open for the whole run.
inline constexpr const char* kMulticonnection = "Multiconnection";

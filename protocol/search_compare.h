#pragma once

#include "protocol/records.h"

#include <QString>

namespace kalvero {

class TProtocolStore;

// Each "vorher" test with the "nachher" test whose Pair lies in the same second as its Start;
// oldest first. "nachher" tests without a partner and tests of other phases are left out.
TSearchPairArray PairSearchTests(const TSearchTestArray& tests);
TSearchPairArray LoadSearchPairs(const TProtocolStore& store, const QString& user);
TSearchPairArray LoadSearchPairs(const QString& user); // data folder

// The message after the second test: omissions per side, wrong marks when there were any,
// and the times when both tests found every target. Lines joined with CR LF.
QString SearchComparisonText(const TSearchTestRec& pre, const TSearchTestRec& post);

// One history line per pair.
QString SearchPairLine(const TSearchPair& pair);

} // namespace kalvero

#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace cadrix {

// What can be wrong with a pair of exports chosen for one comparison.
enum class PairProblem {
    EndOlder,        // the end's players file is older than the start's: a question
    DifferentClubs,  // the team files name two clubs: a question
    SameExport,      // the same players file twice: a notice, the comparison goes on
};

struct PairFinding {
    PairProblem problem = PairProblem::SameExport;
    std::string text;  // the sentence the user reads
};

// One side of the pair: the folder its files were extracted into and its
// date text (dd.MM.yyyy of the players file, as the date label shows it).
struct PairSide {
    std::filesystem::path folder;
    std::string date;
};

// The findings about a pair, in the order they are to be put to the user.
// The same export twice is only that; otherwise an end older than the start
// comes before two clubs. A side without a players file gives nothing: the
// load run says what is missing. A file that cannot be read throws, naming it.
std::vector<PairFinding> CheckPair(const PairSide& start, const PairSide& end);

}  // namespace cadrix

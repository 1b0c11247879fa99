// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/figures/ShapeTwins.h"
#include "engine/PuzzleRecord.h"

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace zq {

// Whether one figure laid by the player may join a collection of Quarvels, and
// if not, the one reason most worth telling, in English or German. The rules
// are the shipped library's for a named figure (pieces may hang on by a
// corner), applied to one figure: the quick ones at every move, the slow ones
// (twins among the other Quarvels, another way to lay the same outline) apart.
class FigureRules {
public:
    // In the order they are looked for: the first that applies is told.
    enum class Reason {
        None,         // every rule holds
        Lifted,       // a piece is in the hand
        Scattered,    // no two pieces touch
        Apart,        // a piece does not touch the figure
        NotBuildable, // no order puts the pieces down one after the other
        TooWide,
        TooTall,
        SameAs,       // a Quarvel already there, shifted, turned or mirrored
        OutlineTwin,  // the cells can be covered with other values
        TooIntricate, // too many ways to lay the outline to check them all
        Stopped,      // the slow check was called off
    };

    // What the slow check compares against: a shipped Quarvel or one of the player's own.
    struct Reference {
        PuzzleRecord record;
        int number = 0;
        bool own = false;
        std::string name; // of an own Quarvel, may be empty
    };

    struct Verdict {
        Reason reason = Reason::None;
        int piece = 0;     // Lifted, Apart; NotBuildable: one of two overlapping pieces, if any
        int other = 0;     // NotBuildable: the other one
        int size = 0;      // TooWide, TooTall: cells
        Reference twin;    // SameAs
        bool turned = false, mirrored = false;
        bool Ok() const { return reason == Reason::None; }
        // The reason, starting in lower case (empty when Ok).
        std::string Text(bool german) const;
        // The whole line under the board.
        std::string Line(bool german) const;
    };

    static constexpr int MaxSize = 56;          // the pattern window's room, as for the shipped ones
    static constexpr long long NodeBound = 400000;

    // The rules that take no time: the lifted piece (0 for none), contact, order, size.
    static Verdict Quick(const PuzzleRecord& figure, int liftedPiece);

    // The figure moved as a whole so that its box lies on the board's centre,
    // none when it cannot be (it does not fit the board there).
    static std::optional<PuzzleRecord> Centred(const PuzzleRecord& figure);

    // Text of the line while the slow check runs.
    static std::string CheckingLine(bool german, int percent);

    // The slow rules, for a figure that passed the quick ones. Keeps the outlines of
    // the references it has seen, so only the first check pays for them.
    class SlowCheck {
    public:
        // stop is asked often and calls the check off (Reason::Stopped); progress gets 0..100.
        Verdict Run(const PuzzleRecord& figure, const std::vector<Reference>& references,
                    const std::function<bool()>& stop, const std::function<void(int)>& progress);

    private:
        const ShapeTwins::Shape& ShapeOf(const PuzzleRecord& r);
        std::map<std::array<std::uint8_t, 24>, ShapeTwins::Shape> shapes_;
    };
};

} // namespace zq

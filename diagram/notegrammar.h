#pragma once

// The words printed beside a diagram, as books print them: notes of moves played where a stone
// already stands ("232 at a", "52（33）", "152 コウ取る(67)", "236, 243 at 134"), and the
// figure's caption ("Figure 3 (201–325)", "第3譜 (201〜325)"). Plain functions over text; the
// reader finds and reads the lines, these tell what they say.

#include "diagram/diagram.h"

#include <string>
#include <string_view>
#include <vector>

namespace diagram {

// A line of text as read, with how sure the recogniser was of each character (0..1), one
// entry for each character of text.
struct TextLine {
    std::u32string text;
    std::vector<float> sureness;
};

TextLine textLine(std::string_view utf8, float sureness = 1.0f);

struct TextNote {
    enum class Place {
        Stone,   // the stone numbered `at`
        Mark,    // the stone or point marked `mark` ("a", a triangle)
        NoNumber, // a stone without a number ("B")
        Pass,    // the move was a pass
        Untold,  // a form that names no place ("N 取る")
    };
    int move = 0;
    Place place = Place::Stone;
    int at = 0;
    char mark = 0;
    // A character read in doubt, or the line holds words that are no note.
    bool unsure = false;
};

struct Caption {
    int figure = 0;
    int first = 0;
    int last = 0;
    // The side to move, where the caption says it.
    Stone toPlay = Stone::Empty;
};

struct PageWords {
    std::vector<TextNote> notes;
    Caption caption;
};

// Characters read with less sureness than this leave their note in doubt.
constexpr float leastCharacterSureness = 0.6f;

PageWords parsePageWords(const std::vector<TextLine>& lines);

// "52 at 33", "52 at a", "52 at B", "52 pass", "52 ?" (no place), "?" appended when unsure:
// for tests and the command-line tool.
std::string textNoteText(const TextNote& note);

} // namespace diagram

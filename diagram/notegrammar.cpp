#include "diagram/notegrammar.h"

#include <algorithm>
#include <array>
#include <cstddef>

namespace diagram {
namespace {

// What may follow the moves of a note, word by word: "P" is the place, "(" ")" "=" the
// brackets and signs in either width; other pieces are words, Latin ones in any case. Korean
// and Chinese books print the same forms with their own words.
struct Form {
    std::u32string_view pattern;
    TextNote::Place place;
};

constexpr Form forms[] = {
    {U"at P", TextNote::Place::Stone},
    {U"ko at P", TextNote::Place::Stone},
    {U"= P", TextNote::Place::Stone},
    {U"( P )", TextNote::Place::Stone},
    {U"ko ( P )", TextNote::Place::Stone},
    {U"に P", TextNote::Place::Stone},
    {U"コウ取る ( P )", TextNote::Place::Stone},
    {U"コウ ( P )", TextNote::Place::Stone},
    {U"コウツグ ( P )", TextNote::Place::Stone},
    {U"取る ( P )", TextNote::Place::Stone},
    {U"ツグ ( P )", TextNote::Place::Stone},
    {U"에 P", TextNote::Place::Stone},
    {U"패 ( P )", TextNote::Place::Stone},
    {U"패따냄 ( P )", TextNote::Place::Stone},
    {U"따냄 ( P )", TextNote::Place::Stone},
    {U"이음 ( P )", TextNote::Place::Stone},
    {U"于 P", TextNote::Place::Stone},
    {U"在 P", TextNote::Place::Stone},
    {U"提劫 ( P )", TextNote::Place::Stone},
    {U"打劫 ( P )", TextNote::Place::Stone},
    {U"劫 ( P )", TextNote::Place::Stone},
    {U"提 ( P )", TextNote::Place::Stone},
    {U"粘劫 ( P )", TextNote::Place::Stone},
    {U"粘 ( P )", TextNote::Place::Stone},
    // "同": the point of the move just before.
    {U"同", TextNote::Place::Stone},
    {U"pass", TextNote::Place::Pass},
    {U"パス", TextNote::Place::Pass},
    {U"패스", TextNote::Place::Pass},
    {U"停一手", TextNote::Place::Pass},
    {U"虚手", TextNote::Place::Pass},
    {U"取る", TextNote::Place::Untold},
    {U"コウ取る", TextNote::Place::Untold},
    {U"따냄", TextNote::Place::Untold},
    {U"提劫", TextNote::Place::Untold},
};

constexpr std::u32string_view sameWord = U"同";

// Captions: a word naming the figure, its number, maybe a word after it, then the range.
constexpr std::u32string_view figureWords[] = {U"figure", U"fig", U"diagram", U"dia", U"第", U"제"};
constexpr std::u32string_view afterFigureWords[] = {U"譜", U"谱", U"보", U"図", U"图"};
struct Mover {
    std::u32string_view words;
    Stone stone;
};
constexpr Mover movers[] = {
    {U"black to play", Stone::Black}, {U"white to play", Stone::White}, {U"black to move", Stone::Black},
    {U"white to move", Stone::White}, {U"黒番", Stone::Black},          {U"白番", Stone::White},
    {U"黒先", Stone::Black},          {U"白先", Stone::White},          {U"黑先", Stone::Black},
    {U"흑선", Stone::Black},          {U"백선", Stone::White},          {U"흑번", Stone::Black},
    {U"백번", Stone::White},
};

struct Token {
    enum Kind { Number, Latin, Char, Comma, Open, Close, Equal, Dash };
    Kind kind;
    std::u32string text;
    int value = 0;
    float sureness = 1.0f;
};

// Full-width forms to their plain ones; dashes, waves and the ideographic comma to one each.
char32_t plain(char32_t c)
{
    if (c >= 0xFF01 && c <= 0xFF5E)
        c -= 0xFEE0;
    switch (c) {
    case 0x3001: // 、
    case 0xFF64:
    case 0xFE50:
        return U',';
    case 0x3000:
        return U' ';
    case 0x2010:
    case 0x2011:
    case 0x2012:
    case 0x2013:
    case 0x2014:
    case 0x2015:
    case 0x2212:
    case 0x301C: // 〜
    case U'~':
        return U'-';
    default:
        return c;
    }
}

bool isDigit(char32_t c) { return c >= U'0' && c <= U'9'; }
bool isLatin(char32_t c) { return (c >= U'a' && c <= U'z') || (c >= U'A' && c <= U'Z'); }
// Kana, CJK ideographs, Hangul and the marks printed on points: one token each, since these
// scripts put no blanks between words.
bool isWide(char32_t c)
{
    return (c >= 0x3040 && c <= 0x30FF) || (c >= 0x3400 && c <= 0x9FFF) || (c >= 0xAC00 && c <= 0xD7AF)
           || (c >= 0x1100 && c <= 0x11FF) || (c >= 0x3130 && c <= 0x318F) || (c >= 0x25A0 && c <= 0x25FF);
}

char32_t lower(char32_t c) { return c >= U'A' && c <= U'Z' ? c + 32 : c; }

std::vector<Token> tokens(const TextLine& line)
{
    std::vector<Token> out;
    const std::u32string& s = line.text;
    const auto sure = [&](std::size_t i) { return i < line.sureness.size() ? line.sureness[i] : 1.0f; };
    for (std::size_t i = 0; i < s.size();) {
        const char32_t c = plain(s[i]);
        if (isDigit(c) || isLatin(c)) {
            // A run of letters and digits: a number only when it is all digits ("8S" is no 85).
            // The recogniser often loses the blanks about "at" ("92at40"): it parts them again.
            std::size_t j = i;
            bool digits = true, letters = true;
            float least = 1.0f;
            std::u32string text;
            while (j < s.size() && (isDigit(plain(s[j])) || isLatin(plain(s[j])))) {
                const bool atFollows = j + 1 < s.size() && lower(plain(s[j])) == U'a' && lower(plain(s[j + 1])) == U't'
                                       && (j + 2 == s.size() || !isLatin(plain(s[j + 2])));
                if (!text.empty() && isDigit(text.back()) && atFollows)
                    break;
                if (text.size() == 2 && lower(text[0]) == U'a' && lower(text[1]) == U't' && isDigit(plain(s[j])))
                    break;
                digits = digits && isDigit(plain(s[j]));
                letters = letters && isLatin(plain(s[j]));
                least = std::min(least, sure(j));
                text += plain(s[j]);
                ++j;
            }
            if (digits) {
                const int value = text.size() <= 3 && text[0] != U'0' ? std::stoi(std::string(text.begin(), text.end())) : 0;
                out.push_back({value > 0 ? Token::Number : Token::Latin, text, value, least});
            } else {
                out.push_back({Token::Latin, text, 0, least});
                if (!letters)
                    out.back().value = -1; // letters and digits mixed: a misreading
            }
            i = j;
            continue;
        }
        // A comma read as a full stop, between the moves of a note.
        const std::size_t next = i + 1 < s.size() && plain(s[i + 1]) == U' ' ? i + 2 : i + 1;
        const bool stopBetweenNumbers = c == U'.' && !out.empty() && out.back().kind == Token::Number
                                        && (next == s.size() || isDigit(plain(s[next])));
        if (c == U',' || stopBetweenNumbers)
            out.push_back({Token::Comma, {U','}, 0, sure(i)});
        else if (c == U'(' || c == U'[')
            out.push_back({Token::Open, {c}, 0, sure(i)});
        else if (c == U')' || c == U']')
            out.push_back({Token::Close, {c}, 0, sure(i)});
        else if (c == U'=')
            out.push_back({Token::Equal, {c}, 0, sure(i)});
        else if (c == U'-')
            out.push_back({Token::Dash, {c}, 0, sure(i)});
        else if (isWide(c))
            out.push_back({Token::Char, {c}, 0, sure(i)});
        else if ((c >= 0xC0 && c <= 0x52F && c != 0xD7 && c != 0xF7) || c >= 0x3000)
            out.push_back({Token::Char, {c}, 0, sure(i)}); // a letter of some other script
        // Blanks, full stops, colons, quotes and specks separate and say nothing.
        ++i;
    }
    return out;
}

// The tokens from `at` spell `words` (blanks between Latin words; none needed between wide
// characters). Returns the count of tokens used, 0 when they do not.
std::size_t spells(const std::vector<Token>& t, std::size_t at, std::u32string_view words)
{
    std::size_t k = at, used = 0;
    std::size_t i = 0;
    while (i < words.size()) {
        if (words[i] == U' ') {
            ++i;
            continue;
        }
        if (k >= t.size())
            return 0;
        if (isLatin(words[i])) {
            std::size_t end = i;
            while (end < words.size() && isLatin(words[end]))
                ++end;
            const std::u32string_view word = words.substr(i, end - i);
            if (t[k].kind != Token::Latin || t[k].text.size() != word.size())
                return 0;
            for (std::size_t c = 0; c < word.size(); ++c) {
                if (lower(t[k].text[c]) != word[c])
                    return 0;
            }
            i = end;
        } else {
            if (t[k].kind != Token::Char || t[k].text[0] != words[i])
                return 0;
            ++i;
        }
        ++k;
        ++used;
    }
    return used;
}

struct Place {
    TextNote::Place kind = TextNote::Place::Stone;
    int at = 0;
    char mark = 0;
    float sureness = 1.0f;
};

// A place: a number, a lower-case letter, "B" for a stone without a number, or a triangle.
bool placeAt(const std::vector<Token>& t, std::size_t k, Place& p)
{
    if (k >= t.size())
        return false;
    const Token& x = t[k];
    p.sureness = x.sureness;
    if (x.kind == Token::Number) {
        p = {TextNote::Place::Stone, x.value, 0, x.sureness};
        return true;
    }
    if (x.kind == Token::Latin && x.text.size() == 1 && x.value == 0) {
        if (x.text[0] == U'B') {
            p.kind = TextNote::Place::NoNumber;
            return true;
        }
        // Labels are matched without their case: books print "a" and "A" alike.
        if ((x.text[0] >= U'a' && x.text[0] <= U'z') || (x.text[0] >= U'A' && x.text[0] <= U'Z')) {
            p.kind = TextNote::Place::Mark;
            p.mark = char(lower(x.text[0]));
            return true;
        }
        return false;
    }
    if (x.kind == Token::Char && (x.text[0] == U'□' || x.text[0] == U'■')) {
        p.kind = TextNote::Place::Mark;
        p.mark = squareMark;
        return true;
    }
    if (x.kind == Token::Char && (x.text[0] == U'△' || x.text[0] == U'▲')) {
        p.kind = TextNote::Place::Mark;
        p.mark = triangleMark;
        return true;
    }
    return false;
}

// The form of the table that the tokens from `at` follow: returns the count of tokens used.
std::size_t matchForm(const std::vector<Token>& t, std::size_t at, const Form& form, Place& place)
{
    std::size_t k = at;
    std::u32string_view rest = form.pattern;
    place = {form.place};
    while (!rest.empty()) {
        const std::size_t blank = rest.find(U' ');
        const std::u32string_view piece = rest.substr(0, blank);
        rest = blank == std::u32string_view::npos ? std::u32string_view() : rest.substr(blank + 1);
        if (piece == U"P") {
            if (!placeAt(t, k, place))
                return 0;
            ++k;
        } else if (piece == U"(" || piece == U")" || piece == U"=") {
            const Token::Kind want = piece == U"(" ? Token::Open : piece == U")" ? Token::Close : Token::Equal;
            if (k >= t.size() || t[k].kind != want)
                return 0;
            ++k;
        } else {
            const std::size_t used = spells(t, k, piece);
            if (used == 0)
                return 0;
            k += used;
        }
    }
    return k - at;
}

// The longest form that follows: "コウ取る(33)" before "コウ取る" alone.
std::size_t longestForm(const std::vector<Token>& t, std::size_t at, Place& place, bool& same)
{
    std::size_t best = 0;
    for (const Form& form : forms) {
        Place p;
        const std::size_t used = matchForm(t, at, form, p);
        if (used > best) {
            best = used;
            place = p;
            same = form.pattern == sameWord;
        }
    }
    return best;
}

// A range "A-B", "(A-B)", "(A〜B)": the count of tokens used.
std::size_t rangeAt(const std::vector<Token>& t, std::size_t at, int& first, int& last)
{
    std::size_t k = at;
    const bool open = k < t.size() && t[k].kind == Token::Open;
    k += open;
    const auto isDash = [&](std::size_t i) {
        // Japanese faces print the wave dash so that it is read as a long vowel mark or a one.
        return i < t.size()
               && (t[i].kind == Token::Dash || (t[i].kind == Token::Char && (t[i].text[0] == U'ー' || t[i].text[0] == U'一')));
    };
    if (k + 2 >= t.size() || t[k].kind != Token::Number || !isDash(k + 1) || t[k + 2].kind != Token::Number)
        return 0;
    const int a = t[k].value, b = t[k + 2].value;
    // A range read in doubt is no range: it would set the record's total.
    if (a < 1 || b <= a || std::min(t[k].sureness, t[k + 2].sureness) < leastCharacterSureness)
        return 0;
    k += 3;
    if (open) {
        if (k >= t.size() || t[k].kind != Token::Close)
            return 0;
        ++k;
    }
    first = a;
    last = b;
    return k - at;
}

bool captionOf(const std::vector<Token>& t, Caption& caption)
{
    for (std::size_t i = 0; i < t.size(); ++i) {
        for (std::u32string_view word : figureWords) {
            const std::size_t used = spells(t, i, word);
            if (used == 0 || i + used >= t.size() || t[i + used].kind != Token::Number)
                continue;
            std::size_t k = i + used + 1;
            for (std::u32string_view after : afterFigureWords)
                k += spells(t, k, after);
            int first = 0, last = 0;
            if (rangeAt(t, k, first, last) == 0)
                continue;
            caption.figure = t[i + used].value;
            caption.first = first;
            caption.last = last;
            return true;
        }
    }
    // A range alone, or opening the line before the game's title.
    int first = 0, last = 0;
    const std::size_t used = rangeAt(t, 0, first, last);
    if (used == 0 || (used < t.size() && t[0].kind != Token::Open))
        return false;
    caption.first = first;
    caption.last = last;
    return true;
}

Stone moverOf(const std::vector<Token>& t)
{
    for (std::size_t i = 0; i < t.size(); ++i) {
        for (const Mover& m : movers) {
            if (spells(t, i, m.words) > 0)
                return m.stone;
        }
    }
    return Stone::Empty;
}

// The notes of one line, in order. A piece of the line that is no form of the table is left
// out, and leaves the notes beside it in doubt: it may be commentary that merely names moves
// ("White 12 at 14 was better"), or a note misread.
std::vector<TextNote> notesOf(const std::vector<Token>& t)
{
    std::vector<TextNote> notes;
    std::vector<bool> stray(t.size(), false);
    // Each note's first and past-last token, and its first entry in `notes`.
    std::vector<std::array<std::size_t, 3>> spans;
    std::size_t k = 0;
    while (k < t.size()) {
        if (t[k].kind == Token::Comma) {
            ++k;
            continue;
        }
        if (t[k].kind != Token::Number) {
            stray[k] = true;
            ++k;
            continue;
        }
        // The moves: numbers with commas between them.
        std::vector<const Token*> moves{&t[k]};
        std::size_t j = k + 1;
        while (j + 1 < t.size() && t[j].kind == Token::Comma && t[j + 1].kind == Token::Number) {
            moves.push_back(&t[j + 1]);
            j += 2;
        }
        Place place;
        bool same = false;
        const std::size_t used = longestForm(t, j, place, same);
        if (used == 0) {
            for (std::size_t i = k; i < j; ++i)
                stray[i] = true;
            k = j;
            continue;
        }
        spans.push_back({k, j + used, notes.size()});
        for (const Token* m : moves) {
            TextNote n;
            n.move = m->value;
            n.place = place.kind;
            n.at = same ? m->value - 1 : place.at;
            n.mark = place.mark;
            n.unsure = m->sureness < leastCharacterSureness || place.sureness < leastCharacterSureness;
            notes.push_back(n);
        }
        k = j + used;
    }
    for (std::size_t s = 0; s < spans.size(); ++s) {
        std::size_t before = spans[s][0], after = spans[s][1];
        while (before > 0 && t[before - 1].kind == Token::Comma)
            --before;
        while (after < t.size() && t[after].kind == Token::Comma)
            ++after;
        const bool nearStray = (before > 0 && stray[before - 1]) || (after < t.size() && stray[after]);
        const std::size_t last = s + 1 < spans.size() ? spans[s + 1][2] : notes.size();
        for (std::size_t n = spans[s][2]; n < last; ++n)
            notes[n].unsure = notes[n].unsure || nearStray;
    }
    return notes;
}

} // namespace

TextLine textLine(std::string_view utf8, float sureness)
{
    TextLine line;
    for (std::size_t i = 0; i < utf8.size();) {
        const unsigned char c = static_cast<unsigned char>(utf8[i]);
        const int length = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
        if (length == 0 || i + std::size_t(length) > utf8.size()) {
            line.text += U'\uFFFD';
            ++i;
        } else {
            char32_t code = length == 1 ? c : c & (0x7F >> length);
            for (int k = 1; k < length; ++k)
                code = (code << 6) | (static_cast<unsigned char>(utf8[i + std::size_t(k)]) & 0x3F);
            line.text += code;
            i += std::size_t(length);
        }
        line.sureness.push_back(sureness);
    }
    return line;
}

PageWords parsePageWords(const std::vector<TextLine>& lines)
{
    PageWords words;
    std::vector<Token> t;
    for (const TextLine& line : lines) {
        // The moves of a note run on into the next line after a comma.
        const std::vector<Token> read = tokens(line);
        t.insert(t.end(), read.begin(), read.end());
        if (!t.empty() && t.back().kind == Token::Comma && &line != &lines.back())
            continue;
        Caption caption;
        if (words.caption.first == 0 && captionOf(t, caption)) {
            caption.toPlay = moverOf(t);
            words.caption = caption;
            t.clear();
            continue;
        }
        if (words.caption.toPlay == Stone::Empty)
            words.caption.toPlay = moverOf(t);
        for (const TextNote& n : notesOf(t))
            words.notes.push_back(n);
        t.clear();
    }
    return words;
}

std::string textNoteText(const TextNote& note)
{
    std::string s = std::to_string(note.move);
    switch (note.place) {
    case TextNote::Place::Stone:
        s += " at " + std::to_string(note.at);
        break;
    case TextNote::Place::Mark:
        s += std::string(" at ") + note.mark;
        break;
    case TextNote::Place::NoNumber:
        s += " at B";
        break;
    case TextNote::Place::Pass:
        s += " pass";
        break;
    case TextNote::Place::Untold:
        s += " ?";
        break;
    }
    return note.unsure ? s + "?" : s;
}

} // namespace diagram

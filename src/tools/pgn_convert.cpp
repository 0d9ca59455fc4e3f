// The PGN reader. Tags other than Result (and the set-up tags, which make a game unstorable) are
// passed over; in the movetext, move numbers, periods, "$" marks, comments and variations are
// skipped, and the game ends at its result token or "*". The text read is echoed to the log.
#include "tools/pgn_convert.h"

#include <cctype>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <sstream>
#include <unordered_set>

#include "control/setup.h"
#include "core/log.h"
#include "movegen/attacks.h"
#include "movegen/generators.h"
#include "notation/fen.h"
#include "notation/san.h"
#include "position/make_move.h"

namespace velkor {

namespace {

inline constexpr std::size_t TagLineLimit = 511;
inline constexpr std::size_t SanTokenLimit = 10;
inline constexpr int Eof = std::char_traits<char>::eof();

// Blanks and line ends, and the comments that run to the end of their line: ";" comments and
// "%" escape lines, which collections put before their first game as often as anywhere.
void SkipWhiteSpace(std::istream& stream) {
    for (int c; (c = stream.peek()) != Eof;) {
        if (std::isspace(c)) stream.get();
        else if (c == ';' || c == '%') stream.ignore(std::numeric_limits<std::streamsize>::max(), '\n');
        else return;
    }
}

// Skips up to the bracket that closes the one just read; brackets of the same kind nest.
void SkipNested(std::istream& stream, char open, char close) {
    for (int depth = 1, c; depth > 0 && (c = stream.get()) != Eof;) {
        if (c == open) ++depth;
        else if (c == close) --depth;
    }
}

// A UTF-8 byte order mark before the first tag is not part of the PGN text.
void SkipByteOrderMark(std::istream& stream) {
    if (stream.peek() != 0xEF) return;
    char mark[3];
    stream.read(mark, 3);
    if (stream.gcount() == 3 && std::memcmp(mark, "\xEF\xBB\xBF", 3) == 0) return;
    stream.clear();
    stream.seekg(0);
}

bool StartsWith(const std::string& text, const char* prefix) { return text.rfind(prefix, 0) == 0; }

// The text between the quotes of a tag line (after its "[").
std::string TagValue(const std::string& line) {
    std::size_t open = line.find('"');
    if (open == std::string::npos) return "";
    std::size_t close = line.find('"', open + 1);
    return line.substr(open + 1, close == std::string::npos ? std::string::npos : close - open - 1);
}

// A FEN tag holding the standard start position (its four position fields; the counters may
// follow) describes an ordinary game.
bool IsStartPositionFen(const std::string& fen) {
    std::istringstream fields(fen), start(StartPositionFen);
    std::string field, expected;
    while (start >> expected)
        if (!(fields >> field) || field != expected) return false;
    return true;
}

void ReadResultTag(GameRecord& record, const std::string& line) {
    std::size_t at = std::strlen("Result");
    while (at < line.size() && line[at] == ' ') ++at;
    if (at < line.size() && line[at] == '"') ++at;
    std::string value = line.substr(at);
    struct Known { const char* text; char code; };
    for (Known known : {Known{"1-0", 'W'}, Known{"0-1", 'B'}, Known{"1/2-1/2", 'D'}, Known{"*", '*'}}) {
        std::size_t length = std::strlen(known.text);
        if (value.compare(0, length, known.text) == 0 && (value.size() == length || value[length] == '"')) {
            record.resultCode = known.code;
            std::strcpy(record.resultText, known.text);
            return;
        }
    }
    throw GameFileError("Result Error 1");
}

// Reads up to ten characters after the prefix already taken from the stream, stopping before a
// blank, tab, line end, "{" or ";".
Move ReadSanToken(GameRecord& record, std::istream& stream, const char* prefix = "") {
    std::size_t length = std::strlen(prefix);
    std::memcpy(record.text, prefix, length);
    for (int c; length < SanTokenLimit && (c = stream.peek()) != Eof;) {
        if (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '{' || c == ';') break;
        record.text[length++] = static_cast<char>(stream.get());
    }
    record.text[length] = '\0';
    return ParseSanMove(record.text);
}

// Castling written with zeros ("0-0", "0-0-0") begins like a move number or the result "0-1";
// when the "0" just read is followed by "-0", the "-" is taken and true returned.
bool IsCastlingWithZeros(int c, std::istream& stream) {
    if (c != '0' || stream.peek() != '-') return false;
    stream.get();
    if (stream.peek() == '0') return true;
    stream.putback('-');
    return false;
}

void TakeBackMoves(const GameRecord& record, int count) { TakeBackLine(record.words.data() + 1, count); }

// Comments in braces and variations in parentheses, both nesting; true when c opened one.
bool SkipCommentOrVariation(int c, std::istream& stream) {
    if (c == '{') SkipNested(stream, '{', '}');
    else if (c == '(') SkipNested(stream, '(', ')');
    else return false;
    return true;
}

// After a move that cannot be read, the rest of its game goes too, up to its result token or
// the next tag section, so that the following game is read normally.
void SkipRestOfGame(const GameRecord& record, std::istream& stream) {
    for (;;) {
        SkipWhiteSpace(stream);
        int c = stream.peek();
        if (c == Eof || c == '[') return;
        stream.get();
        if (SkipCommentOrVariation(c, stream)) continue;
        std::string token(1, static_cast<char>(c));
        while ((c = stream.peek()) != Eof && !std::isspace(c) && c != '{' && c != '(') token += static_cast<char>(stream.get());
        if (token == record.resultText || token == "*" || token == "1-0" || token == "0-1" || token == "1/2-1/2")
            return;
    }
}

[[noreturn]] void IllegalMove(const GameRecord& record, int ply, const char* message, std::string& log) {
    PrintBoard(Board.data());
    std::printf("move: %s, plyNo:%d\n", record.text, ply);
    log += record.text;
    log += message;
    throw GameFileError(message);
}

bool IsAmongGenerated(Move move, PlyRecord& ply, ScoredMove* list) {
    ScoredMove* end = GenerateForPly(list, ply);
    ply.moveListEnd = end;
    for (ScoredMove* entry = list; entry != end; ++entry)
        if (entry->move == move) return true;
    return false;
}

std::u16string Key(const GameRecord& record) {
    return std::u16string(reinterpret_cast<const char16_t*>(record.words.data()),
                          static_cast<std::size_t>(record.MoveCount() + 1));
}

// The records already in the game file, for the duplicate test, and the bytes they fill.
struct GameIndex {
    std::unordered_set<std::u16string> keys;
    std::uintmax_t wholeBytes = 0;
};

GameIndex ReadGameIndex(std::istream& file) {
    GameIndex index;
    static GameRecord existing;
    while (ReadGameRecord(existing, file)) {
        index.keys.insert(Key(existing));
        index.wholeBytes = static_cast<std::uintmax_t>(file.tellg());
    }
    return index;
}

// Reads the game file's records. A record cut short at its end (a crash during a write) is
// dropped, so that new records follow the last whole one: appended behind the broken bytes they
// would all be read at the wrong place. Raises what ReadGameRecord raises for a damaged file,
// which is then left as it is.
GameIndex IndexAndRepairGameFile(const char* gamePath) {
    GameIndex index;
    std::ifstream existing(gamePath, std::ios::binary);
    if (!existing) return index;
    index = ReadGameIndex(existing);
    existing.close();
    std::error_code error;
    std::uintmax_t size = std::filesystem::file_size(gamePath, error);
    if (error || size <= index.wholeBytes) return index;
    std::filesystem::resize_file(gamePath, index.wholeBytes, error);
    if (error) throw GameFileError("CANNOT DROP CUT RECORD");
    std::printf("Warning: cut record at the end of GAME file '%s' dropped (%ju bytes)\n", gamePath,
                size - index.wholeBytes);
    return index;
}

void ResetToStart() {
    SetupPosition(StartPositionFen, false);
    CurrentPly = PlyStack.data();
}

} // namespace

bool ReadPgnTags(GameRecord& record, std::istream& stream, std::string& log) {
    record.resultText[0] = '\0';
    record.resultCode = '?';
    // Only a game that really starts elsewhere is not storable: [SetUp "0"], or a FEN tag with
    // the start position, describe ordinary games.
    bool hasFen = false, fenElsewhere = false, setUpFlag = false;
    log += '\n';
    for (;;) {
        SkipWhiteSpace(stream);
        if (stream.peek() != '[') break;
        stream.get();
        std::string line;
        std::getline(stream, line);
        if (line.size() > TagLineLimit) line.resize(TagLineLimit);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        log += '[' + line + '\n';
        if (StartsWith(line, "Result")) ReadResultTag(record, line);
        if (StartsWith(line, "FEN ")) {
            hasFen = true;
            fenElsewhere = !IsStartPositionFen(TagValue(line));
        }
        if (StartsWith(line, "SetUp ")) setUpFlag = TagValue(line) != "0";
    }
    record.setUp = hasFen ? fenElsewhere : setUpFlag;
    log += '\n';
    if (stream.good() && record.resultCode == '?') throw GameFileError("Result Error 2");
    return stream.good();
}

int ReadPgnGame(GameRecord& record, std::istream& stream, std::string& log) {
    record.words[0] = 0;
    int count = 0;
    if (!ReadPgnTags(record, stream, log)) return 0;
    bool skip = record.setUp;
    for (int c; !skip && (SkipWhiteSpace(stream), (c = stream.get()) != Eof);) {
        if (c == '*') {
            if (record.resultCode != '*') throw GameFileError("Result * error");
            break; // consumed, so that the next game's tags are found
        }
        bool castlingWithZeros = IsCastlingWithZeros(c, stream);
        if (std::isdigit(c) && !castlingWithZeros) {
            log += static_cast<char>(c);
            if (c == record.resultText[0] && stream.peek() == record.resultText[1]) {
                for (const char* rest = record.resultText + 1; *rest; ++rest) {
                    int next = stream.get();
                    if (next != Eof) log += static_cast<char>(next);
                    if (next != *rest) throw GameFileError("wrong end result 1");
                }
                break;
            }
            continue; // a move number
        }
        if (c == '.') {
            log += '.';
            continue;
        }
        // "$" marks, and "!" or "?" written apart from their move
        if (c == '$' || c == '!' || c == '?' || SkipCommentOrVariation(c, stream)) continue;
        if (c == '[') { // the next game's tags: this game had no result token
            stream.putback(static_cast<char>(c));
            break;
        }
        if (!castlingWithZeros) stream.putback(static_cast<char>(c));
        Move move = ReadSanToken(record, stream, castlingWithZeros ? "0-" : "");
        if (!move) {
            log += record.text;
            log += "ERROR";
            std::printf("move: %s, plyNo:%d\n", record.text, count + 1);
            TakeBackMoves(record, count);
            SkipRestOfGame(record, stream);
            return 0;
        }
        log += record.text;
        log += ' ';
        if (count == MaxGameMoves) { // longer than a record holds: the game is skipped
            skip = true;
            break;
        }
        PlyRecord& ply = GameMoveRecords[static_cast<std::size_t>(count)];
        ScoredMove candidates[MaxMoves];
        if (!IsAmongGenerated(move, ply, candidates)) IllegalMove(record, count + 1, "MOVE NOT LEGAL 1", log);
        int mover = SideToMove;
        SaveSnapshot(ply);
        MakeMove(move, ply);
        ++CurrentPly;
        record.words[static_cast<std::size_t>(++count)] = move;
        if (LeavesKingAttacked(move, mover)) IllegalMove(record, count, "MOVE NOT LEGAL 2 - check revealed", log);
    }
    if (skip) {
        TakeBackMoves(record, count);
        SkipRestOfGame(record, stream);
        return 0;
    }
    if (count == 0) {
        SkipWhiteSpace(stream);
        log += " {NOMOVES}";
        return 0;
    }
    std::uint16_t bits;
    if (!std::strcmp(record.resultText, "1-0")) bits = WhiteWins;
    else if (!std::strcmp(record.resultText, "0-1")) bits = BlackWins;
    else if (!std::strcmp(record.resultText, "1/2-1/2")) bits = Drawn;
    else if (!std::strcmp(record.resultText, "*")) bits = 0;
    else throw GameFileError("wrong end result 2");
    record.words[0] = static_cast<std::uint16_t>(bits | count);
    TakeBackMoves(record, count);
    return bits;
}

void ConvertPgnFile(const char* pgnPath, const char* gamePath, int& counter) {
    std::ifstream pgn(pgnPath, std::ios::binary);
    if (!pgn) {
        std::printf("Cannot open PGN input file: '%s'\n", pgnPath);
        return;
    }
    GameIndex index;
    try {
        index = IndexAndRepairGameFile(gamePath);
    } catch (const GameFileError& error) {
        std::printf("ERROR: %s file: %s\n", error.what(), gamePath);
        return;
    }
    std::ofstream games(gamePath, std::ios::app | std::ios::binary);
    if (!games) {
        std::printf("Cannot create GAME output file: '%s'\n", gamePath);
        return;
    }
    ResetToStart();
    CurrentPly = GameMoveRecords.data();
    int converted = 0, skipped = 0;
    static GameRecord record;
    std::string log;
    try {
        SkipByteOrderMark(pgn);
        while (pgn.peek() != Eof) {
            log.clear();
            int bits = ReadPgnGame(record, pgn, log);
            LogBlock(log);
            if (bits && index.keys.insert(Key(record)).second) {
                WriteGameRecord(record, games);
                ++converted;
                ++counter;
            } else {
                ++skipped;
                std::printf("Warning: game %d (skipped) file: %s\n", converted + skipped, pgnPath);
            }
            SkipWhiteSpace(pgn);
        }
    } catch (const GameFileError& error) {
        if (!log.empty()) LogBlock(log);
        games.close();
        std::printf("converted: %d games. (skipped: %d)\n", converted, skipped);
        std::printf("ERROR: %s file: %s\n", error.what(), pgnPath);
        LogLine("converted: ", converted, "\tskipped: ", skipped);
        LogLine("ERROR: ", error.what());
        ResetToStart(); // nothing of the failed game stays on the board
        return;
    }
    CurrentPly = PlyStack.data();
    games.close(); // the file is complete before anyone is told it is finished
    std::printf("converted: %d games. (skipped: %d)\n", converted, skipped);
    std::printf("file: %s \t\tfinished\n", pgnPath);
    LogLine("<<< OK:\t", pgnPath, "\t>>>");
}

void ConvertPgnList(const char* listPath, const char* gamePath) {
    std::ifstream list(listPath);
    if (!list) {
        std::printf("Cannot open PGN input file: '%s'\n", listPath);
        return;
    }
    int total = 0;
    std::string line;
    while (std::getline(list, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.size() > 255) line.resize(255);
        ConvertPgnFile(line.c_str(), gamePath, total);
    }
    std::printf("\nCONVERTED GAMES: %d\n", total);
}

} // namespace velkor

// The PGN reader. Tags other than Result (and the set-up tags, which make a game unstorable) are
// passed over; in the movetext, move numbers, periods, "$" marks, comments and variations are
// skipped, and the game ends at its result token or "*". The text read is echoed to the log.
#include "tools/pgn_convert.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <sstream>

#include "control/setup.h"
#include "core/log.h"
#include "movegen/attacks.h"
#include "movegen/generators.h"
#include "movegen/legal.h"
#include "notation/fen.h"
#include "notation/san.h"
#include "position/make_move.h"
#include "tools/progress.h"

namespace velkor {

bool EchoPgnToLog = true;

namespace {

inline constexpr std::size_t TagLineLimit = 511;
inline constexpr std::size_t SanTokenLimit = 10;
inline constexpr int Eof = std::char_traits<char>::eof();

// Characters straight from the stream's buffer: istream::peek and get build a sentry at every
// call (and flush the stream tied to standard input), which costs as much as reading the PGN
// itself. The end of the input sets the stream's state as they would; a stream gone bad (a
// character that could not be put back) ends the conversion at the next game.
int Peek(std::istream& stream) {
    int c = stream.rdbuf()->sgetc();
    if (c == Eof) stream.setstate(std::ios::eofbit);
    return c;
}

int Get(std::istream& stream) {
    int c = stream.rdbuf()->sbumpc();
    if (c == Eof) stream.setstate(std::ios::eofbit | std::ios::failbit);
    return c;
}

void PutBack(std::istream& stream, char c) {
    if (stream.rdbuf()->sputbackc(c) == Eof) stream.setstate(std::ios::badbit);
}

// Lines end in LF, CR LF or (old Macintosh files) CR alone.
bool IsLineEnd(int c) { return c == '\n' || c == '\r'; }

// Up to the end of the line, which is left to be read.
void SkipRestOfLine(std::istream& stream) {
    for (int c; (c = Peek(stream)) != Eof && !IsLineEnd(c);) Get(stream);
}

// Blanks and line ends, and the comments that run to the end of their line: ";" comments and
// "%" escape lines, which collections put before their first game as often as anywhere.
void SkipWhiteSpace(std::istream& stream) {
    for (int c; (c = Peek(stream)) != Eof;) {
        if (std::isspace(c)) Get(stream);
        else if (c == ';' || c == '%') SkipRestOfLine(stream);
        else return;
    }
}

// True when the stream stands at "[" and a letter, the start of a tag pair; it stays there.
bool AtTagPair(std::istream& stream) {
    if (Peek(stream) != '[') return false;
    Get(stream);
    bool letter = std::isalpha(Peek(stream)) != 0;
    PutBack(stream, '[');
    return letter;
}

// Skips a comment in braces or a variation in parentheses, both nesting; a variation holds
// comments of both kinds, and a bracket inside a comment is only text. open is the bracket just
// read. False when the text ends, or a line starts a tag section, before the bracket is closed:
// the game was cut short there, and the stream stands at the next game's tags.
bool SkipBracketed(int open, std::istream& stream) {
    int variations = open == '(' ? 1 : 0;
    int comments = open == '{' ? 1 : 0;
    for (bool lineStart = false;;) {
        if (lineStart && AtTagPair(stream)) return false;
        int c = Get(stream);
        if (c == Eof) return false;
        lineStart = IsLineEnd(c);
        if (c == '{') ++comments;
        else if (comments > 0 && c == '}') --comments;
        else if (comments > 0) continue;
        else if (c == ';') SkipRestOfLine(stream);
        else if (c == '(') ++variations;
        else if (c == ')') --variations;
        else continue;
        if (comments == 0 && variations == 0) return true;
    }
}

// A UTF-8 byte order mark before the first tag is not part of the PGN text. Neither is a mark
// that breaks off, nor what follows it up to the first tag: such a file was damaged at its start.
void SkipByteOrderMark(std::istream& stream) {
    for (int byte : {0xEF, 0xBB, 0xBF}) {
        if (Peek(stream) != byte) {
            if (byte == 0xEF) return;
            while (Peek(stream) != Eof && Peek(stream) != '[') Get(stream);
            return;
        }
        Get(stream);
    }
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

// Whatever ends a move written without a blank after it: a comment, a variation, a "$" mark.
bool EndsMoveText(int c) { return std::isspace(c) || std::strchr("{}();$[", c) != nullptr; }

// Reads up to ten characters after the prefix already taken from the stream, stopping before a
// blank, a line end or the start of a comment, variation or "$" mark.
Move ReadSanToken(GameRecord& record, std::istream& stream, const char* prefix = "") {
    std::size_t length = std::strlen(prefix);
    std::memcpy(record.text, prefix, length);
    for (int c; length < SanTokenLimit && (c = Peek(stream)) != Eof && !EndsMoveText(c);)
        record.text[length++] = static_cast<char>(Get(stream));
    record.text[length] = '\0';
    return ParseSanMove(record.text);
}

// Castling written with zeros ("0-0", "0-0-0") begins like a move number or the result "0-1";
// when the "0" just read is followed by "-0", the "-" is taken and true returned.
bool IsCastlingWithZeros(int c, std::istream& stream) {
    if (c != '0' || Peek(stream) != '-') return false;
    Get(stream);
    if (Peek(stream) == '0') return true;
    PutBack(stream, '-');
    return false;
}

void TakeBackMoves(const GameRecord& record, int count) { TakeBackLine(record.words.data() + 1, count); }

bool IsBracket(int c) { return c == '{' || c == '('; }

// After a move that cannot be read, the rest of its game goes too, up to its result token or
// the next tag section, so that the following game is read normally.
void SkipRestOfGame(const GameRecord& record, std::istream& stream) {
    for (;;) {
        SkipWhiteSpace(stream);
        int c = Peek(stream);
        if (c == Eof || c == '[') return;
        Get(stream);
        if (IsBracket(c)) {
            if (!SkipBracketed(c, stream)) return;
            continue;
        }
        std::string token(1, static_cast<char>(c));
        while ((c = Peek(stream)) != Eof && !EndsMoveText(c)) token += static_cast<char>(Get(stream));
        if (token == record.resultText || token == "*" || token == "1-0" || token == "0-1" || token == "1/2-1/2")
            return;
    }
}

[[noreturn]] void IllegalMove(const GameRecord& record, int ply, const char* message, std::string& log) {
    PrintBoard(Board.data(), ToolMessages);
    std::fprintf(ToolMessages, "move: %s, plyNo:%d\n", record.text, ply);
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

std::uint64_t HashOf(const GameRecord& record) {
    return HashGameWords(record.words.data(), static_cast<std::size_t>(record.MoveCount() + 1));
}

// Reads the game file's records into the index; returns the bytes its whole records fill. A
// record cut short by the end of the file ends the reading; every other fault is raised.
std::uint64_t ReadGameIndex(std::istream& file, GameIndex& index) {
    static GameRecord existing;
    std::uint64_t offset = 0;
    try {
        while (ReadGameRecord(existing, file)) {
            index.Insert(HashOf(existing), offset);
            offset += RecordBytes(existing);
        }
    } catch (const GameFileError& error) {
        if (std::strcmp(error.what(), CutRecordText) != 0) throw;
    }
    return offset;
}

// True when the bytes after the last whole record are what a write cut short leaves: the start
// of a record that they do not fill, with a header a record can have and moves that are legal in
// their turn from the start position. A damaged count elsewhere leaves bytes that fail this.
bool IsCutRecord(const std::vector<std::uint8_t>& tail) {
    if (tail.size() < 2) return true; // not even the header
    std::uint16_t header = static_cast<std::uint16_t>(tail[0] | tail[1] << 8);
    int count = header & MoveCountBits;
    if ((header & ResultBits) == 0 || count > MaxGameMoves || RecordBytes(header) <= tail.size()) return false;
    SetupBoardOnly(StartPositionFen);
    CurrentPly = GameMoveRecords.data();
    std::vector<Move> moves;
    bool legal = true;
    for (std::size_t at = 2; at + 1 < tail.size() && legal; at += 2) {
        Move move = static_cast<Move>(tail[at] | tail[at + 1] << 8);
        legal = IsLegalMove(move);
        if (!legal) break;
        SaveSnapshot(*CurrentPly);
        MakeMove(move, *CurrentPly);
        ++CurrentPly;
        moves.push_back(move);
    }
    TakeBackLine(moves.data(), static_cast<int>(moves.size()));
    CurrentPly = PlyStack.data();
    return legal;
}

// Reads the game file's records. A record cut short at its end (a crash during a write) is
// dropped, so that new records follow the last whole one: appended behind the broken bytes they
// would all be read at the wrong place. Anything else wrong with the file (a damaged record, a
// read error) is raised, and the file is left as it is. Returns the bytes of the whole records.
std::uint64_t IndexAndRepairGameFile(const char* gamePath, GameIndex& index) {
    std::ifstream existing(gamePath, std::ios::binary);
    if (!existing) return 0;
    std::uint64_t wholeBytes = ReadGameIndex(existing, index);
    std::error_code error;
    std::uintmax_t size = std::filesystem::file_size(gamePath, error);
    if (error) throw GameFileError(ReadErrorText());
    if (size <= wholeBytes) return wholeBytes;
    // What follows the whole records is at most one record's bytes, read again to be checked.
    std::vector<std::uint8_t> tail(static_cast<std::size_t>(size - wholeBytes));
    existing.clear();
    existing.seekg(static_cast<std::streamoff>(wholeBytes));
    if (tail.size() >= MaxRecordBytes || !existing.read(reinterpret_cast<char*>(tail.data()), static_cast<std::streamsize>(tail.size())))
        throw GameFileError(existing.bad() ? ReadErrorText() : std::string("DAMAGED RECORD"));
    if (!IsCutRecord(tail)) throw GameFileError("DAMAGED RECORD");
    existing.close();
    std::filesystem::resize_file(gamePath, wholeBytes, error);
    if (error) throw GameFileError("CANNOT DROP CUT RECORD");
    std::fprintf(ToolMessages, "Warning: cut record at the end of GAME file '%s' dropped (%ju bytes)\n", gamePath,
                 size - static_cast<std::uintmax_t>(wholeBytes));
    return wholeBytes;
}

// The position alone: the search tables are of no use here, and clearing them would touch all of
// the transposition table.
void ResetToStart() {
    SetupBoardOnly(StartPositionFen);
    CurrentPly = PlyStack.data();
}

// A tag pair after its "[": the text up to its "]" (outside the quoted value, where a backslash
// escapes the next character) or the line end. What follows on the line is read as PGN text.
std::string ReadTagPair(std::istream& stream) {
    std::string text;
    bool quoted = false;
    for (int c; (c = Peek(stream)) != Eof && !IsLineEnd(c);) {
        Get(stream);
        if (c == ']' && !quoted) break;
        if (c == '"') quoted = !quoted;
        if (text.size() < TagLineLimit) text += static_cast<char>(c);
        if (c == '\\' && quoted && Peek(stream) != Eof && !IsLineEnd(Peek(stream))) {
            c = Get(stream);
            if (text.size() < TagLineLimit) text += static_cast<char>(c);
        }
    }
    return text;
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
        if (Peek(stream) != '[') break;
        Get(stream);
        std::string line = ReadTagPair(stream);
        log += '[' + line + "]\n";
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
    for (int c; !skip && (SkipWhiteSpace(stream), (c = Get(stream)) != Eof);) {
        if (c == '*') {
            if (record.resultCode != '*') throw GameFileError("Result * error");
            break; // consumed, so that the next game's tags are found
        }
        bool castlingWithZeros = IsCastlingWithZeros(c, stream);
        if (std::isdigit(c) && !castlingWithZeros) {
            log += static_cast<char>(c);
            if (c == record.resultText[0] && Peek(stream) == record.resultText[1]) {
                for (const char* rest = record.resultText + 1; *rest; ++rest) {
                    int next = Get(stream);
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
        // "$" marks, "!" or "?" written apart from their move, and stray closing brackets
        if (c == '$' || c == '!' || c == '?' || c == ')' || c == '}') continue;
        if (IsBracket(c)) {
            if (SkipBracketed(c, stream)) continue;
            // Left open: the game is cut short, and the text after it may be the next game.
            std::fprintf(ToolMessages, "Warning: %s left open\n", c == '{' ? "comment" : "variation");
            log += " {LEFT OPEN}";
            TakeBackMoves(record, count);
            return 0;
        }
        if (c == '[') { // the next game's tags: this game had no result token
            PutBack(stream, static_cast<char>(c));
            break;
        }
        if (!castlingWithZeros) PutBack(stream, static_cast<char>(c));
        Move move = ReadSanToken(record, stream, castlingWithZeros ? "0-" : "");
        if (!move) {
            log += record.text;
            log += "ERROR";
            std::fprintf(ToolMessages, "move: %s, plyNo:%d\n", record.text, count + 1);
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

bool GameFileTarget::Open(const char* gamePath) {
    if (appender.IsOpen()) return true;
    index = GameIndex();
    // The writer's lock comes first: what is indexed is then what this run appends after.
    GameFileAppender::OpenResult opened = appender.Open(gamePath);
    if (opened == GameFileAppender::OpenResult::Busy) {
        std::fprintf(ToolMessages, "ERROR: BEING WRITTEN BY ANOTHER RUN file: %s\n", gamePath);
        return false;
    }
    if (opened == GameFileAppender::OpenResult::Failed) {
        std::fprintf(ToolMessages, "Cannot create GAME output file: '%s'\n", gamePath);
        return false;
    }
    try {
        appender.Start(IndexAndRepairGameFile(gamePath, index));
    } catch (const GameFileError& error) {
        std::fprintf(ToolMessages, "ERROR: %s file: %s\n", error.what(), gamePath);
        appender.Close();
        return false;
    }
    return true;
}

bool GameFileTarget::Store(const GameRecord& record) {
    std::uint64_t hash = HashOf(record);
    if (index.Contains(hash, [&](std::uint64_t offset) { return appender.Holds(offset, record); })) return false;
    index.Insert(hash, appender.Append(record));
    return true;
}

bool ConvertPgnStream(std::istream& pgn, const char* pgnName, GameFileTarget& target, int& counter,
                      std::uint64_t pgnBytes) {
    ResetToStart();
    CurrentPly = GameMoveRecords.data();
    int converted = 0, skipped = 0;
    static GameRecord record;
    std::string log;
    std::string failure; // the error that ended the conversion
    const char* failedFile = pgnName;
    ProgressTracker progress(pgnBytes);
    auto bytesRead = [&] { return static_cast<std::uint64_t>(std::max<std::streamoff>(0, pgn.tellg())); };
    try {
        SkipByteOrderMark(pgn);
        while (!pgn.bad() && Peek(pgn) != Eof && !target.appender.Failed()) {
            log.clear();
            int bits = ReadPgnGame(record, pgn, log);
            if (EchoPgnToLog) LogBlock(log);
            bool stored = bits && target.Store(record);
            if (stored) {
                ++converted;
                ++counter;
            } else {
                ++skipped;
                std::fprintf(ToolMessages, "Warning: game %d (skipped) file: %s\n", converted + skipped, pgnName);
            }
            progress.Game(stored, bytesRead);
            SkipWhiteSpace(pgn);
        }
        // A stream that went bad could not be read on: what is left of it is not its end.
        if (pgn.bad()) failure = ReadErrorText();
    } catch (const GameFileError& error) {
        if (!log.empty() && EchoPgnToLog) LogBlock(log);
        failure = error.what();
    } catch (const std::system_error& error) { // the PGN text could not be read
        failure = "READ ERROR (" + error.code().message() + ")";
    }
    target.stopped = failure.rfind("READ ERROR", 0) == 0;
    // What was converted before an error is kept; the file is complete before anyone is told.
    if (!target.appender.Flush()) {
        failure = target.appender.Error();
        failedFile = target.appender.Path().c_str();
        converted -= target.appender.LostRecords();
        counter -= target.appender.LostRecords();
        target.stopped = true;
    }
    progress.Finish(pgnBytes);
    std::fprintf(ToolMessages, "converted: %d games. (skipped: %d)\n", converted, skipped);
    if (!failure.empty()) {
        std::fprintf(ToolMessages, "ERROR: %s file: %s\n", failure.c_str(), failedFile);
        LogLine("converted: ", converted, "\tskipped: ", skipped);
        LogLine("ERROR: ", failure.c_str());
        ResetToStart(); // nothing of the failed game stays on the board
        return false;
    }
    CurrentPly = PlyStack.data();
    std::fprintf(ToolMessages, "file: %s \t\tfinished\n", pgnName);
    LogLine("<<< OK:\t", pgnName, "\t>>>");
    return true;
}

bool IsUsableGameFileName(const char* outputPath, const char* inputPath) {
    std::error_code error;
    std::filesystem::file_status status = std::filesystem::status(outputPath, error);
    const char* problem = nullptr;
    if (std::strcmp(outputPath, "-") == 0 || (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status)))
        problem = "NOT A FILE THAT CAN HOLD GAMES";
    else if (IsSameFile(outputPath, inputPath))
        problem = "INPUT AND OUTPUT ARE THE SAME FILE";
    if (problem) std::fprintf(ToolMessages, "ERROR: %s file: %s\n", problem, outputPath);
    return problem == nullptr;
}

namespace {

// A file to read from: one that opens and is not a folder (which opens, but cannot be read).
bool OpenInput(std::ifstream& stream, const char* path) {
    std::error_code error;
    if (std::filesystem::is_directory(path, error)) return false;
    stream.open(path, std::ios::binary);
    return static_cast<bool>(stream);
}

// One PGN file of a conversion; the game file is opened (and indexed) when the first PGN file
// opens.
bool ConvertOnePgnFile(const char* pgnPath, const char* gamePath, GameFileTarget& target, int& counter) {
    std::ifstream pgn;
    if (!OpenInput(pgn, pgnPath)) {
        std::fprintf(ToolMessages, "Cannot open PGN input file: '%s'\n", pgnPath);
        return false;
    }
    if (!target.Open(gamePath)) return false;
    std::error_code error;
    std::uintmax_t size = std::filesystem::file_size(pgnPath, error);
    return ConvertPgnStream(pgn, pgnPath, target, counter, error ? 0 : size);
}

// Closes the game file; a failure of the last write is told like any other.
bool CloseTarget(GameFileTarget& target, bool told) {
    bool failedBefore = target.appender.Failed();
    if (target.appender.Close() || failedBefore) return true;
    if (!told) std::fprintf(ToolMessages, "ERROR: %s file: %s\n", target.appender.Error().c_str(), target.appender.Path().c_str());
    return false;
}

} // namespace

bool ConvertPgnFile(const char* pgnPath, const char* gamePath, int& counter) {
    if (!IsUsableGameFileName(gamePath, pgnPath)) return false;
    GameFileTarget target;
    bool done = ConvertOnePgnFile(pgnPath, gamePath, target, counter);
    return CloseTarget(target, !done) && done;
}

bool ConvertPgnList(std::istream& list, const char* gamePath) {
    GameFileTarget target;
    int total = 0;
    bool allDone = true;
    std::string line;
    while (std::getline(list, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.find_first_not_of(" \t") == std::string::npos) continue; // a blank line names nothing
        if (line.size() > 255) line.resize(255);
        if (!IsUsableGameFileName(gamePath, line.c_str())) {
            allDone = false;
            continue;
        }
        allDone = ConvertOnePgnFile(line.c_str(), gamePath, target, total) && allDone;
        // After a read or write error the rest of the list waits for the cause to be mended.
        if (target.stopped) break;
    }
    if (list.bad()) {
        std::fprintf(ToolMessages, "ERROR: %s\n", ReadErrorText().c_str());
        allDone = false;
    }
    allDone = CloseTarget(target, !allDone) && allDone;
    std::fprintf(ToolMessages, "\nCONVERTED GAMES: %d\n", total);
    return allDone;
}

bool ConvertPgnList(const char* listPath, const char* gamePath) {
    std::ifstream list;
    if (!OpenInput(list, listPath)) {
        std::fprintf(ToolMessages, "Cannot open PGN input file: '%s'\n", listPath);
        return false;
    }
    return ConvertPgnList(list, gamePath);
}

} // namespace velkor

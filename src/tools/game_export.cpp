// The two exports of the game file.
#include "tools/game_export.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "control/setup.h"
#include "movegen/legal.h"
#include "notation/coordinate.h"
#include "notation/fen.h"
#include "position/make_move.h"
#include "tools/progress.h"

namespace velkor {

namespace {

// Prepares, then writes every record of the game file; false after an error line.
template <typename WriteGame>
bool ExportRecords(std::istream& games, std::ostream& output, void (*prepare)(), WriteGame writeGame) {
    prepare();
    int converted = 0;
    static GameRecord record;
    ProgressTracker progress(0);
    // A failed write is told, never taken for success: the output stops at the last whole game.
    auto checkWritten = [&] {
        if (!output) throw GameFileError(WriteErrorText());
    };
    try {
        while (ReadGameRecord(record, games)) {
            errno = 0;
            writeGame(record, output);
            checkWritten();
            ++converted;
            progress.Game(true, [] { return std::uint64_t{0}; });
        }
        errno = 0;
        output.flush(); // the output is complete before anyone is told so
        checkWritten();
    } catch (const GameFileError& error) {
        output.flush();
        progress.Finish(0);
        std::fprintf(ToolMessages, "ERROR: %s\n", error.what());
        std::fprintf(ToolMessages, "converted: %d games.\n", converted);
        return false;
    }
    progress.Finish(0);
    std::fprintf(ToolMessages, "OK\n");
    std::fprintf(ToolMessages, "converted: %d games.\n", converted);
    return true;
}

// Opens both files (the output to append to), then exports.
template <typename WriteGame>
bool Export(const char* gamePath, const char* outputPath, const char* cannotCreate, void (*prepare)(),
            WriteGame writeGame) {
    std::ifstream games;
    std::error_code error;
    if (!std::filesystem::is_directory(gamePath, error)) games.open(gamePath, std::ios::binary);
    if (!games.is_open()) {
        std::fprintf(ToolMessages, "Cannot open GAME input file: '%s'\n", gamePath);
        return false;
    }
    if (IsSameFile(gamePath, outputPath)) {
        std::fprintf(ToolMessages, "ERROR: INPUT AND OUTPUT ARE THE SAME FILE file: %s\n", outputPath);
        return false;
    }
    std::ofstream output(outputPath, std::ios::app | std::ios::binary);
    if (!output) {
        std::fprintf(ToolMessages, cannotCreate, outputPath);
        return false;
    }
    return ExportRecords(games, output, prepare, writeGame);
}

void PrepareNothing() {}
// The position alone: the search tables are of no use here, and clearing them would touch all of
// the transposition table.
void PrepareStartPosition() { SetupBoardOnly(StartPositionFen); }
void WritePgn(const GameRecord& record, std::ostream& output) { WriteGamePgn(record, output); }
void WritePositions(const GameRecord& record, std::ostream& output) { WriteGamePositions(record, output, 0); }

void TakeBack(const GameRecord& record, int count) { TakeBackLine(record.words.data() + 1, count); }

} // namespace

void WriteGamePgn(const GameRecord& record, std::ostream& stream) {
    stream << "[Result \"" << record.resultText << "\"]\n" << std::flush;
    char text[8];
    for (int i = 1; i <= record.MoveCount(); ++i) {
        if (i % 2 == 1) stream << (i + 1) / 2 << ". ";
        FormatCoordinateMove(text, record.words[static_cast<std::size_t>(i)]);
        stream << text << ' ';
    }
    stream << record.resultText << '\n' << std::flush;
}

void WriteGamePositions(const GameRecord& record, std::ostream& stream, int limit) {
    if (limit <= 0 || limit > MaxGameMoves) limit = MaxGameMoves;
    int plies = std::min(record.MoveCount(), limit);
    CurrentPly = GameMoveRecords.data();
    // A record is written whole or not at all: its lines wait until every move has been played.
    std::ostringstream lines;
    int made = 0;
    for (int i = 1; i <= plies; ++i) {
        Move move = record.words[static_cast<std::size_t>(i)];
        // A damaged file must not corrupt the position.
        if (!IsLegalMove(move)) {
            TakeBack(record, made);
            CurrentPly = PlyStack.data();
            throw GameFileError("MOVE NOT LEGAL");
        }
        char fen[FenBufferSize], text[8];
        FormatFen(fen);
        for (char* c = fen; *c; ++c)
            if (*c == ' ') *c = '\t';
        FormatCoordinateMove(text, move);
        lines << i << '\t' << record.resultCode << '\t' << fen << '\t' << text << '\t'
              << static_cast<long long>(HashKey) << '\n';
        SaveSnapshot(*CurrentPly);
        MakeMove(move, *CurrentPly);
        ++CurrentPly;
        ++made;
    }
    TakeBack(record, made);
    CurrentPly = PlyStack.data();
    stream << lines.str();
}

bool ExportPgn(const char* gamePath, const char* pgnPath) {
    return Export(gamePath, pgnPath, "Cannot create PGN output file: '%s'\n", PrepareNothing, WritePgn);
}

bool ExportPositions(const char* gamePath, const char* tablePath) {
    return Export(gamePath, tablePath, "Cannot create DB output file: '%s'\n", PrepareStartPosition, WritePositions);
}

bool ExportPgn(std::istream& games, std::ostream& pgn) { return ExportRecords(games, pgn, PrepareNothing, WritePgn); }

bool ExportPositions(std::istream& games, std::ostream& table) {
    return ExportRecords(games, table, PrepareStartPosition, WritePositions);
}

} // namespace velkor

// The two exports of the game file.
#include "tools/game_export.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "control/setup.h"
#include "movegen/legal.h"
#include "notation/coordinate.h"
#include "notation/fen.h"
#include "position/make_move.h"

namespace velkor {

namespace {

// Opens both files, prepares, then writes every record of the game file.
template <typename WriteGame>
void Export(const char* gamePath, const char* outputPath, const char* cannotCreate, void (*prepare)(),
            WriteGame writeGame) {
    std::ifstream games(gamePath, std::ios::binary);
    if (!games) {
        std::printf("Cannot open GAME input file: '%s'\n", gamePath);
        return;
    }
    std::ofstream output(outputPath, std::ios::app);
    if (!output) {
        std::printf(cannotCreate, outputPath);
        return;
    }
    prepare();
    int converted = 0;
    static GameRecord record;
    try {
        while (ReadGameRecord(record, games)) {
            writeGame(record, output);
            ++converted;
        }
    } catch (const GameFileError& error) {
        output.close();
        std::printf("ERROR: %s\n", error.what());
        std::printf("converted: %d games.\n", converted);
        return;
    }
    output.close(); // the file is complete before anyone is told so
    std::printf("OK\n");
    std::printf("converted: %d games.\n", converted);
}

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

void ExportPgn(const char* gamePath, const char* pgnPath) {
    Export(gamePath, pgnPath, "Cannot create PGN output file: '%s'\n", [] {},
           [](const GameRecord& record, std::ostream& output) { WriteGamePgn(record, output); });
}

void ExportPositions(const char* gamePath, const char* tablePath) {
    Export(gamePath, tablePath, "Cannot create DB output file: '%s'\n",
           [] { SetupPosition(StartPositionFen, false); },
           [](const GameRecord& record, std::ostream& output) { WriteGamePositions(record, output, 0); });
}

} // namespace velkor

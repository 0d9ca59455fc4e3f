// Book loading. The header is a decimal count of lines; each line record is a count byte and
// that many 16-bit little-endian moves.
#include "book/book.h"

#include <cstdlib>
#include <ctime>
#include <fstream>
#include <limits>
#include <vector>

#include "core/platform.h"
#include "movegen/attacks.h"
#include "movegen/legal.h"
#include "position/fen_reader.h"
#include "position/make_move.h"
#include "search/transposition.h"

namespace velkor {

namespace {

struct LineRecord {
    Move moves[MaxBookLineMoves];
    int count = 0;
};

enum class RecordRead { Read, End, Broken };

// A record whose count exceeds the line buffer is broken. One cut short (a stray line end after
// the last record reads as a count byte) only ends the reading: whether the load succeeds then
// depends on the number of whole records read.
RecordRead ReadRecord(std::istream& file, LineRecord& record) {
    int count = file.get();
    if (count == std::char_traits<char>::eof()) return RecordRead::End;
    if (count > MaxBookLineMoves) return RecordRead::Broken;
    for (int i = 0; i < count; ++i) {
        int low = file.get(), high = file.get();
        if (high == std::char_traits<char>::eof()) return RecordRead::End;
        record.moves[i] = static_cast<Move>(low | (high << 8));
    }
    record.count = count;
    return RecordRead::Read;
}

// Restores HashAge on every way out of the load.
struct HashAgeGuard {
    std::uint16_t saved = HashAge;
    HashAgeGuard() { HashAge = BookMoveAge; }
    ~HashAgeGuard() { HashAge = saved; }
};

bool IsReadable(const std::filesystem::path& path) { return static_cast<bool>(std::ifstream(path, std::ios::binary)); }

} // namespace

std::filesystem::path FindBookFile() {
    std::filesystem::path here(BookFileName);
    if (IsReadable(here)) return here;
    // The data folder is found from the executable, so that an engine built but not installed
    // never reads an installed book; the compiled-in folder serves where the executable cannot be
    // located.
    std::filesystem::path beside = ExecutableDirectory();
    if (!beside.empty()) {
        std::filesystem::path installed = beside / ".." / "share" / "games" / "velkor" / BookFileName;
        if (IsReadable(installed)) return installed;
        std::filesystem::path alongside = beside / BookFileName; // where Windows users put an engine's files
        if (IsReadable(alongside)) return alongside;
        return {};
    }
#ifdef VELKOR_DATA_DIR
    if (std::filesystem::path compiledIn = std::filesystem::path(VELKOR_DATA_DIR) / BookFileName; IsReadable(compiledIn))
        return compiledIn;
#endif
    return {};
}

bool PlantBookLine(const Move* moves, int count) {
    for (int i = 0; i < count; ++i) {
        int mover = SideToMove;
        if (!IsPseudoLegal(moves[i])) {
            TakeBackLine(moves, i);
            return false;
        }
        SaveSnapshot(*CurrentPly);
        MakeMove(moves[i], *CurrentPly);
        ++CurrentPly;
        // A move that leaves its own king attacked is as foreign to the position as one the
        // generator does not produce: the engine must never play it.
        if (LeavesKingAttacked(moves[i], mover)) {
            TakeBackLine(moves, i + 1);
            return false;
        }
    }
    for (int i = count - 1; i >= 0; --i) {
        --CurrentPly;
        UnmakeMove(moves[i], *CurrentPly);
        PlantBookMove(moves[i]);
    }
    return true;
}

bool LoadBook(const std::filesystem::path& fileName) {
    if (!IsStartPosition()) return false;
    std::ifstream file(fileName, std::ios::binary);
    if (!file) return false;
    long long lines = 0;
    file >> lines;
    if (!file || lines <= 0) return false;
    file.ignore(std::numeric_limits<std::streamsize>::max(), '\n');
    if (!file) return false;

    HashAgeGuard age;
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    long long chosen = std::rand() % lines + 1;

    LineRecord kept, record;
    bool haveKept = false;
    long long countdown = lines;
    for (;; --countdown) {
        RecordRead read = ReadRecord(file, record);
        if (read == RecordRead::End) break;
        if (read == RecordRead::Broken) return false;
        if (countdown == chosen) {
            kept = record;
            haveKept = true;
        } else if (!PlantBookLine(record.moves, record.count)) {
            return false;
        }
    }
    if (!haveKept || kept.count == 0) return false;
    if (!PlantBookLine(kept.moves, kept.count)) return false;
    return countdown == 0;
}

} // namespace velkor

// The table database against SQLite (the sqlite3 shell) in one run:
//   append  ROWS rows, one by one through a table data set, to a table with
//           two indexes (the primary key and a text index); SQLite inserts
//           the same rows in one transaction into a table with the same two
//           indexes. For comparison, also SQLite with each row its own
//           transaction (synchronous OFF), which is what a post promises.
//           The scan table's SCAN_ROWS rows are appended the same way and
//           timed too: SCAN_ROWS rows may cost at most 1.1x their share of
//           ROWS rows' time (11x for 1M against 100k). Each size is appended
//           three times, in turns, and the medians compared: on a shared
//           machine one run of the small size lasts about as long as a
//           moment of load, which would decide the ratio alone.
//   scan    a filtered full scan of SCAN_ROWS rows (a comparison and a
//           LIKE) through the data set's filter, against SQLite's
//           SELECT count(*) ... WHERE on the same rows.
//   process the same scan as a whole process, timed from outside: this
//           program started again to open the file and scan it, against
//           the sqlite3 shell started to run the count; each the best of
//           five runs, taken in turns, so that a moment of load on a shared
//           machine decides neither side.
// Both sides work on files in the current directory. Prints the times and
// the ratios (ours / sqlite). Target: no slower than SQLite on any.
//
//   tabledb_sqlite_bench [ROWS [SCAN_ROWS]]     (default 100000 1000000)
//   tabledb_sqlite_bench --scan FILE            (the whole-process scan)
#include <algorithm>
#include <chrono>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <utility>

#include "platform/OsFiles.h"
#include "platform/Streams.h"
#include "tabledb/TomeDBFileSchema.h"
#include "tabledb/TomeDBTable.h"

namespace {

constexpr char kSchema[] = R"(
table T
  field Id autoinc
  field Name string 20
  field Qty integer
  index PK Id primary unique
  index ByName Name
)";
constexpr char kFilter[] = "Qty > 500 and Name like 'name1%'";
constexpr char kWhere[] = "qty > 500 AND name LIKE 'name1%'";

// The same rows on both sides: names spread over the text index.
String NameOf(int i) { return Format("name%.6d", {int((int64_t(i) * 7919) % 1000003)}); }
int QtyOf(int i) { return i % 1000; }

double Since(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The processor time of this process: on a machine that others load, the
// ratio of two appends is steadier in it than in wall time.
double ProcessorSeconds() { return double(std::clock()) / CLOCKS_PER_SEC; }

double AppendOurs(const String& file, int rows, double& processorSeconds) {
  CreateTomeDatabase(file, ParseTomeSchema(kSchema));
  TTomeTable table(nullptr);
  table.SetDatabaseName(file);
  table.SetTableName("T");
  table.Open();
  TField* name = table.FieldByName("Name");
  TField* qty = table.FieldByName("Qty");
  const auto start = std::chrono::steady_clock::now();
  const double processorStart = ProcessorSeconds();
  for (int i = 0; i < rows; ++i) {
    table.Append();
    name->SetAsString(NameOf(i));
    qty->SetAsInteger(QtyOf(i));
    table.Post();
  }
  table.Close();
  processorSeconds = ProcessorSeconds() - processorStart;
  return Since(start);
}

double ScanOurs(const String& file, int& matches) {
  TTomeTable table(nullptr);
  table.SetDatabaseName(file);
  table.SetTableName("T");
  table.SetIndexName("NoIndex");  // an unknown name: the primary index, in Id order as SQLite's rowid
  table.Open();
  const auto start = std::chrono::steady_clock::now();
  table.SetFilter(kFilter);
  table.SetFiltered(true);
  matches = table.RecordCount();
  const double seconds = Since(start);
  table.Close();
  return seconds;
}

// Runs the script through the sqlite3 shell and returns the shell's timer
// values ("Run Time: real S ...") and the query results.
std::vector<double> RunSqlite(const String& database, const String& sql, std::vector<String>& results) {
  const String script = database + ".sql";
  {
    TFileStream f(script, fmCreate);
    f.WriteBuffer(sql.data(), int64_t(sql.size()));
  }
  const String command = "sqlite3 " + database + " < " + script;
  std::vector<double> seconds;
  FILE* out = popen(command.c_str(), "r");
  if (!out) return seconds;
  char line[256];
  while (std::fgets(line, sizeof line, out)) {
    double real;
    if (std::sscanf(line, "Run Time: real %lf", &real) == 1)
      seconds.push_back(real);
    else
      results.push_back(Trim(line));
  }
  pclose(out);
  return seconds;
}

// One INSERT of all rows (a recursive row generator) inside one
// transaction, timed with the COMMIT.
String SqliteAppendScript(int rows) {
  return Format(
      "CREATE TABLE t(id INTEGER PRIMARY KEY AUTOINCREMENT, name TEXT, qty INTEGER);\n"
      "CREATE INDEX by_name ON t(name);\n"
      ".timer on\n"
      "BEGIN;\n"
      "WITH RECURSIVE c(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM c WHERE i + 1 < %d)\n"
      "  INSERT INTO t(name, qty) SELECT printf('name%%06d', (i * 7919) %% 1000003), i %% 1000 FROM c;\n"
      "COMMIT;\n",
      {rows});
}

// The same rows, each INSERT its own transaction, with synchronous OFF:
// every row reaches the operating system before the next one, without
// waiting for the disk, which is what a post of ours promises. Timed from
// outside, the shell's parsing included.
double SqliteRowByRow(const String& database, int rows) {
  String sql =
      "PRAGMA synchronous=OFF;\n"
      "CREATE TABLE t(id INTEGER PRIMARY KEY AUTOINCREMENT, name TEXT, qty INTEGER);\n"
      "CREATE INDEX by_name ON t(name);\n";
  for (int i = 0; i < rows; ++i)
    sql += Format("INSERT INTO t(name, qty) VALUES('%s', %d);\n", {NameOf(i), QtyOf(i)});
  const String script = database + ".sql";
  {
    TFileStream f(script, fmCreate);
    f.WriteBuffer(sql.data(), int64_t(sql.size()));
  }
  const auto start = std::chrono::steady_clock::now();
  if (std::system(("sqlite3 " + database + " < " + script + " > /dev/null").c_str()) != 0) return 0;
  return Since(start);
}

// Wall and processor seconds of one append.
struct TAppendTime {
  double Wall = 0, Processor = 0;
};

// Two more appends of each size, in turns after the first ones, and the
// ratio of the median times, with each turn's ratio beside it.
void ReportGrowth(int rows, int largeRows, TAppendTime small, TAppendTime large) {
  std::vector<TAppendTime> smalls{small}, larges{large};
  for (int turn = 0; turn < 2; ++turn) {
    std::fprintf(stderr, "appending %d and %d rows again...\n", rows, largeRows);
    for (auto [count, times] : {std::pair{rows, &smalls}, std::pair{largeRows, &larges}}) {
      TAppendTime t;
      os::RemoveFile("bench_growth.tdb");
      t.Wall = AppendOurs("bench_growth.tdb", count, t.Processor);
      times->push_back(t);
    }
  }
  os::RemoveFile("bench_growth.tdb");
  const auto median = [](std::vector<TAppendTime> times, double TAppendTime::*field) {
    std::sort(times.begin(), times.end(), [&](const auto& a, const auto& b) { return a.*field < b.*field; });
    return times[times.size() / 2].*field;
  };
  std::printf("  ours: %d rows cost %.2fx %d rows (linear: %.2fx; in processor time %.2fx), medians of 3;",
              largeRows, median(larges, &TAppendTime::Wall) / median(smalls, &TAppendTime::Wall), rows,
              double(largeRows) / rows,
              median(larges, &TAppendTime::Processor) / median(smalls, &TAppendTime::Processor));
  std::printf(" each turn:");
  for (size_t i = 0; i < smalls.size(); ++i) std::printf(" %.2fx", larges[i].Wall / smalls[i].Wall);
  std::printf("\n");
}

void Report(const char* what, double ours, double sqlite) {
  std::printf("%-40s ours %8.3f s   sqlite %8.3f s   ratio %7.2f\n", what, ours, sqlite, ours / sqlite);
}

// Starts command through the shell and returns its wall time in seconds,
// or 0 when it fails.
double TimeCommand(const String& command) {
  const auto start = std::chrono::steady_clock::now();
  if (std::system((command + " > /dev/null").c_str()) != 0) return 0;
  return Since(start);
}

// The best wall times of runs of each command, started in turns (0 for a
// command that fails).
std::pair<double, double> BestTimes(const String& ours, const String& peer, int runs) {
  double bestOurs = 0, bestPeer = 0;
  for (int i = 0; i < runs; ++i) {
    const double a = TimeCommand(ours), b = TimeCommand(peer);
    if (a == 0 || b == 0) return {0, 0};
    bestOurs = i == 0 ? a : std::min(bestOurs, a);
    bestPeer = i == 0 ? b : std::min(bestPeer, b);
  }
  return {bestOurs, bestPeer};
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && String(argv[1]) == "--scan") {
    int matches = 0;
    ScanOurs(argv[2], matches);
    std::printf("%d\n", matches);
    return 0;
  }
  const int rows = argc > 1 ? std::atoi(argv[1]) : 100000;
  const int scanRows = argc > 2 ? std::atoi(argv[2]) : 1000000;
  for (const char* f : {"bench_append.tdb", "bench_scan.tdb", "bench_append.sqlite", "bench_scan.sqlite"})
    os::RemoveFile(f);

  std::vector<String> results;
  std::vector<double> sqliteAppend = RunSqlite("bench_append.sqlite", SqliteAppendScript(rows), results);
  if (sqliteAppend.size() < 2) {
    std::fprintf(stderr, "sqlite3 gave no timings (is the sqlite3 shell installed?)\n");
    return 1;
  }
  double oursAppendProcessor = 0;
  const double oursAppend = AppendOurs("bench_append.tdb", rows, oursAppendProcessor);
  Report(Format("append %d rows, two indexes", {rows}).c_str(), oursAppend, sqliteAppend[1] + sqliteAppend[2]);
  os::RemoveFile("bench_rows.sqlite");
  Report("  sqlite: each row its own transaction", oursAppend, SqliteRowByRow("bench_rows.sqlite", rows));

  // Filling the scan tables is the append at the larger size: appending
  // stays linear when the larger size costs no more per row.
  std::fprintf(stderr, "appending %d rows for the scan...\n", scanRows);
  double oursFillProcessor = 0;
  const double oursFill = AppendOurs("bench_scan.tdb", scanRows, oursFillProcessor);
  results.clear();
  std::vector<double> sqliteScan = RunSqlite(
      "bench_scan.sqlite", SqliteAppendScript(scanRows) + Format("SELECT count(*) FROM t WHERE %s;\n", {kWhere}),
      results);
  if (sqliteScan.size() >= 4) Report(Format("append %d rows, two indexes", {scanRows}).c_str(), oursFill,
                                     sqliteScan[1] + sqliteScan[2]);
  ReportGrowth(rows, scanRows, {oursAppend, oursAppendProcessor}, {oursFill, oursFillProcessor});
  int matches = 0;
  const double oursScan = ScanOurs("bench_scan.tdb", matches);
  const String sqliteMatches = results.empty() ? String() : results.back();
  Report(Format("filtered scan of %d rows", {scanRows}).c_str(), oursScan, sqliteScan.back());
  std::printf("matches: ours %d, sqlite %s\n", matches, sqliteMatches.c_str());
  const String self = argv[0];
  const auto [oursProcess, sqliteProcess] =
      BestTimes(self + " --scan bench_scan.tdb",
                Format("sqlite3 bench_scan.sqlite \"SELECT count(*) FROM t WHERE %s;\"", {kWhere}), 5);
  Report("  whole process: open + filtered scan", oursProcess, sqliteProcess);
  return 0;
}

// Times the filter engine's LIKE matcher on long values against patterns with
// many wildcards, and SQLite's LIKE (the sqlite3 shell) on the same values in
// the same run, and prints the time per match and the ratio. Both match
// without regard to ASCII case. Target: no slower than SQLite on any pattern.
//
//   tabledb_like_bench [ROWS]     (default 2000 values of 10,000 characters)
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>

#include "platform/Streams.h"
#include "tabledb/TomeDBBasics.h"

namespace {

// Values of `length` characters, mostly "a" with a few other letters, so
// that every "%a" has many places to stand.
std::vector<String> MakeValues(int rows, size_t length) {
  std::mt19937 rng(20240115);
  std::vector<String> values;
  for (int i = 0; i < rows; ++i) {
    String v(length, 'a');
    for (int k = 0; k < 20; ++k) v[rng() % length] = char('c' + rng() % 20);
    if (i % 2) v[length - 1] = 'b';
    values.push_back(std::move(v));
  }
  return values;
}

double OursSeconds(const std::vector<String>& values, const String& pattern, int& matches) {
  const auto start = std::chrono::steady_clock::now();
  matches = 0;
  for (const String& v : values) matches += MatchLikePattern(v, pattern, false) ? 1 : 0;
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Loads the values into an in-memory SQLite table and times one counting
// query per pattern with the shell's timer ("Run Time: real S ...").
std::vector<double> SqliteSeconds(const std::vector<String>& values, const std::vector<String>& patterns,
                                  const String& work) {
  const String script = work + "/like.sql";
  {
    TFileStream f(script, fmCreate);
    String sql = "CREATE TABLE t(v TEXT);\nBEGIN;\n";
    for (const String& v : values) sql += "INSERT INTO t VALUES('" + v + "');\n";
    sql += "COMMIT;\n.timer on\n";
    for (const String& p : patterns) sql += "SELECT count(*) FROM t WHERE v LIKE '" + p + "';\n";
    f.WriteBuffer(sql.data(), int64_t(sql.size()));
  }
  const String command = "sqlite3 :memory: < " + script;
  FILE* out = popen(command.c_str(), "r");
  std::vector<double> seconds;
  if (!out) return seconds;
  char line[256];
  while (std::fgets(line, sizeof line, out)) {
    double real;
    if (std::sscanf(line, "Run Time: real %lf", &real) == 1) seconds.push_back(real);
  }
  pclose(out);
  return seconds;
}

}  // namespace

int main(int argc, char** argv) {
  const int rows = argc > 1 ? std::atoi(argv[1]) : 2000;
  const std::vector<String> values = MakeValues(rows, 10000);
  const std::vector<String> patterns = {"%a%a%a%a%b", "%a%a%a%a%a", "%a_a%c%a%b", "%aaaaaaaab%", "a%b", "%zz%"};
  const std::vector<double> sqlite = SqliteSeconds(values, patterns, ".");
  if (sqlite.size() != patterns.size()) {
    std::fprintf(stderr, "sqlite3 gave no timings (is the sqlite3 shell installed?)\n");
    return 1;
  }
  std::printf("%d values of 10000 characters, case-insensitive LIKE\n", rows);
  std::printf("%-14s %8s %14s %14s %8s\n", "pattern", "matches", "ours us/value", "sqlite us/value", "ratio");
  double worst = 0;
  for (size_t i = 0; i < patterns.size(); ++i) {
    int matches;
    const double ours = OursSeconds(values, patterns[i], matches);
    const double ratio = ours / sqlite[i];
    worst = std::max(worst, ratio);
    std::printf("%-14s %8d %14.2f %14.2f %8.3f\n", patterns[i].c_str(), matches, ours / rows * 1e6,
                sqlite[i] / rows * 1e6, ratio);
  }
  std::printf("worst time ratio (ours / sqlite): %.3f\n", worst);
  return 0;
}

// Builds the seed preset database from its SQL: make-seed-db SQL_FILE OUTPUT_FILE.
// The output is written beside itself and renamed into place, so an interrupted build
// never leaves a half-filled database to be bundled.
#include <sqlite3.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s SQL_FILE OUTPUT_FILE\n", argv[0]);
        return 2;
    }
    std::ifstream in(argv[1]);
    if (!in) {
        std::fprintf(stderr, "cannot read %s\n", argv[1]);
        return 1;
    }
    std::stringstream sql;
    sql << in.rdbuf();
    const std::string temporary = std::string(argv[2]) + ".tmp";
    std::remove(temporary.c_str());

    sqlite3* db = nullptr;
    if (sqlite3_open(temporary.c_str(), &db) != SQLITE_OK) {
        std::fprintf(stderr, "cannot create %s: %s\n", temporary.c_str(), sqlite3_errmsg(db));
        sqlite3_close(db);
        return 1;
    }
    char* error = nullptr;
    const int rc = sqlite3_exec(db, sql.str().c_str(), nullptr, nullptr, &error);
    if (rc != SQLITE_OK) {
        std::fprintf(stderr, "%s: %s\n", argv[1], error ? error : sqlite3_errstr(rc));
        sqlite3_free(error);
        sqlite3_close(db);
        std::remove(temporary.c_str());
        return 1;
    }
    sqlite3_close(db);
    if (std::rename(temporary.c_str(), argv[2]) != 0) {
        std::perror(argv[2]);
        return 1;
    }
    return 0;
}

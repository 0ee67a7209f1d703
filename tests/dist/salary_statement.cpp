// The salary statement: "lines" prints its lines as the program holds them; "sent FILE" the one statement the
// program hands SQLite for that database (text columns in arithmetic under the strict conversion).

#include "Connection.h"
#include "Dialect.h"
#include "Statements.h"

#include <cstring>
#include <iostream>

int main(int argc, char** argv) {
    const QStringList lines = kb::reports::salaryStatementSql();
    if (argc == 2 && std::strcmp(argv[1], "lines") == 0) {
        std::cout << lines.join(u'\n').toStdString() << '\n';
        return 0;
    }
    if (argc == 3 && std::strcmp(argv[1], "sent") == 0) {
        const kb::sql::Connection connection(QString::fromLocal8Bit(argv[2]));
        std::cout << kb::dialect::rewrite(lines.join(u'\n'), connection.columnTypes()).toStdString() << ";\n";
        return 0;
    }
    std::cerr << "usage: salary_statement lines | sent FILE\n";
    return 2;
}

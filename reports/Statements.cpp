#include "Statements.h"

namespace kb::reports {

namespace {

QStringList employeeSql(const QString& whereLine) {
    return {
        QStringLiteral("SELECT Sotr.ID, Sotr.FIO, Dolznost.Nazvanie, Sotr.DataR, Sotr.Adres, Sotr.Telefon, "
                       "Sotr.Passport, Sotr.INN"),
        QStringLiteral("FROM Sotr, Dolznost"),
        whereLine,
    };
}

std::vector<ColumnLayout> employeeColumns() {
    return {
        {QStringLiteral("№"), 30},          {QStringLiteral("ФИО"), 150},   {QStringLiteral("Должность"), 120},
        {QStringLiteral("Дата рожд."), 80}, {QStringLiteral("Адрес"), 120}, {QStringLiteral("Телефон"), 80},
        {QStringLiteral("Паспорт"), 80},    {QStringLiteral("ИНН"), 80},
    };
}

GridRequest employeeRequest(const QString& whereLine, std::vector<dataset::ParamBinding> bindings) {
    return GridRequest{{employeeSql(whereLine), std::move(bindings)}, employeeColumns()};
}

} // namespace

QStringList salaryStatementSql() {
    // Line 1 ends with ", " and the select list goes on in line 2; line 4 has
    // two blanks before its second "=". The text is sent exactly like this.
    return {
        QStringLiteral("SELECT Sotr.FIO, Stavka.Sum, OtrChas.Count, ROUND(Stavka.Sum*OtrChas.Count/20), "
                       "Stavka.Sum*0.12, "),
        QStringLiteral("Stavka.Sum*0.01, Stavka.Sum*0.4, Stavka.Sum-Stavka.Sum*0.12-Stavka.Sum*0.01, "
                       "Premia.Premia*Stavka.Sum/100, "
                       "Stavka.Sum-Stavka.Sum*0.12-Stavka.Sum*0.01+Premia.Premia*Stavka.Sum/100"),
        QStringLiteral("FROM Stavka, Sotr, Premia, OtrChas"),
        QStringLiteral("WHERE Stavka.IDSotr = Sotr.ID and Sotr.ID  = Premia.IDSotr and Sotr.ID = OtrChas.IDSotr"),
        QStringLiteral("and Month(Premia.Data) = Month(:D1) and Year(Premia.Data) = Year(:D2)"),
        QStringLiteral("and Month(OtrChas.Data) = Month(:D3) and Year(OtrChas.Data) = Year(:D4)"),
        QStringLiteral("ORDER BY Sotr.FIO"),
    };
}

GridRequest salaryStatement(const QDateTime& pickerValue) {
    GridRequest request;
    request.sql = salaryStatementSql();
    for (const char* name : {"D1", "D2", "D3", "D4"})
        request.bindings.push_back(
            {QString::fromLatin1(name), dataset::ParamBinding::Kind::DateTime, sql::Value(pickerValue)});
    request.columns = {
        {QStringLiteral("ФИО"), 150},         {QStringLiteral("Оклад"), 60},      {QStringLiteral("Отр. дни"), 70},
        {QStringLiteral("Нач. по окл."), 70}, {QStringLiteral("Подоходный"), 70}, {QStringLiteral("Пенсионный"), 70},
        {QStringLiteral("Аванс"), 70},        {QStringLiteral("Всего уд."), 60},  {QStringLiteral("Премия"), 60},
        {QStringLiteral("К выдаче"), 60},
    };
    return request;
}

GridRequest nameSearch(const QString& edit1Text) {
    // The typed text goes in as it is: a '%' or '_' the user types keeps its meaning.
    const QString pattern = QLatin1Char('%') + edit1Text + QLatin1Char('%');
    return employeeRequest(QStringLiteral("WHERE Dolznost.ID = Sotr.IDDolznost and Sotr.FIO LIKE :P1"),
                           {{QStringLiteral("P1"), dataset::ParamBinding::Kind::Text, sql::Value(pattern)}});
}

GridRequest positionSearch(const QString& edit2Text) {
    return employeeRequest(QStringLiteral("WHERE Dolznost.ID = Sotr.IDDolznost and Dolznost.Nazvanie = :P1"),
                           {{QStringLiteral("P1"), dataset::ParamBinding::Kind::Text, sql::Value(edit2Text)}});
}

GridRequest employeeList() {
    return employeeRequest(QStringLiteral("WHERE Dolznost.ID = Sotr.IDDolznost"), {});
}

QStringList paySlipCheckSql() {
    return {QStringLiteral("SELECT Sotr.FIO"), QStringLiteral("FROM Sotr"), QStringLiteral("WHERE Sotr.FIO = :P1")};
}

dataset::QueryRequest paySlipCheck(const QString& name) {
    return {paySlipCheckSql(), {{QStringLiteral("P1"), dataset::ParamBinding::Kind::Text, sql::Value(name)}}};
}

} // namespace kb::reports

// Schema inspection and change: tables and columns from the provider's catalogue, and adding a column.
#include "DB_Dll.h"
#include "Pasos.h"
#include "Texto.h"

namespace {
bool MismoNombre(const Variant& catalogo, const QString& nombre) {
    return IgualesTexto(Recorta(ValorSeguro(catalogo).ATexto()), Recorta(nombre));
}
}  // namespace

bool DB_Dll::ExisteTablaDB(const QString& Tabla) {
    bool existe = false;
    Recordset rs;
    Pasos pasos([](const ErrorEjecucion& e) -> int {
        return Predeterminada().TratamientoErrores(e, std::nullopt, QStringLiteral("VerificaCampos"));
    });
    // 1. The catalogue's tables.
    pasos.run([&] { gCnn.OpenSchema(ado::adSchemaTables, {}, rs); });
    // 2. None at all.
    pasos.run([&] {
        if (rs.Bof()) pasos.Detiene();
    });
    // 3. The first row of that name ends the walk.
    pasos.run([&] {
        for (; !rs.Eof(); rs.MoveNext()) {
            if (MismoNombre(rs.Valor(QStringLiteral("TABLE_NAME")), Tabla)) {
                existe = true;
                return;
            }
        }
    });
    return existe;
}

bool DB_Dll::ExisteCampoDB(const QString& Tabla, const QString& Campo) {
    // 1. Oracle's catalogue is not asked.
    if (Contiene(Predeterminada().gProveedor, QStringLiteral("ORACLE"))) return true;
    bool existe = false;
    Recordset rs;
    Pasos pasos([](const ErrorEjecucion& e) -> int {
        return Predeterminada().TratamientoErrores(e, std::nullopt, QStringLiteral("VerificaCampos"));
    });
    // 2. The table's columns.
    pasos.run([&] {
        gCnn.OpenSchema(ado::adSchemaColumns, {Variant(gDBName), Variant(), Variant(Tabla), Variant()}, rs);
    });
    pasos.run([&] {
        if (rs.Bof()) pasos.Detiene();
    });
    // 3. The first column of that name.
    pasos.run([&] {
        for (; !rs.Eof(); rs.MoveNext()) {
            if (MismoNombre(rs.Valor(QStringLiteral("COLUMN_NAME")), Campo)) {
                existe = true;
                return;
            }
        }
    });
    return existe;
}

void DB_Dll::AddField(const QString& Tabla, const QString& Campo, const QString& Tipo, bool PermiteNulos,
                      std::optional<Variant> ValorDefault) {
    QString nulos, predeterminado, sql;
    Pasos pasos([](const ErrorEjecucion& e) -> int {
        return Predeterminada().TratamientoErrores(e, std::nullopt, QStringLiteral("errAddField"));
    });
    // 1. Null clause.
    pasos.run([&] { nulos = PermiteNulos ? QStringLiteral(" Null ") : QStringLiteral(" Not Null "); });
    // 2. Default clause, a named constraint.
    pasos.run([&] {
        if (ValorDefault)
            predeterminado = QStringLiteral(" CONSTRAINT DF_") + Recorta(Tabla) + QStringLiteral("_") + Recorta(Campo) +
                             QStringLiteral(" DEFAULT (") + ValorDefault->ATexto() + QStringLiteral(")");
    });
    // 3. Statement.
    pasos.run([&] {
        sql = QStringLiteral("ALTER TABLE dbo.") + Tabla + QStringLiteral(" ADD ") + Campo + QStringLiteral(" ") +
              Tipo + nulos + predeterminado;
    });
    // 4. Execute; its failures are treated there.
    pasos.run([&] {
        long filas = 0;
        EjecutaConsultaSQL(sql, &filas, nullptr);
    });
}

bool DB_Dll::VerCampoDB(const QString& Tabla, const QString& Campo, bool Agregar, const QString& Tipo,
                        bool PermiteNulos, std::optional<Variant> ValorDefault) {
    if (ExisteTablaDB(Tabla) && !ExisteCampoDB(Tabla, Campo) && Agregar)
        AddField(Tabla, Campo, Tipo, PermiteNulos, ValorDefault);
    return true;
}

// A scripted engine for the failures a real one cannot give on demand (a lost connection, a refused login,
// a truncation warning): it records every call it receives and fails the calls the test queues.
#pragma once

#include <QStringList>
#include <deque>
#include <functional>

#include "Ado.h"
#include "Impresion.h"

struct Fallo {
    QList<ErrorProveedor> proveedor;  // raised as provider errors
    long numero = 0;                  // or, without provider errors, a plain run-time error
    bool Vacio() const { return proveedor.isEmpty() && numero == 0; }
};

inline Fallo FalloProveedor(long numero, const QString& descripcion, long nativo = 0,
                            const QString& estado = QStringLiteral("08001")) {
    return Fallo{{ErrorProveedor{numero, descripcion, QStringLiteral("Microsoft OLE DB Provider for SQL Server"),
                                 estado, nativo}},
                 0};
}

struct GuionMotor {
    QStringList llamadas;                               // "Abre <cadena>", "Cierra", "Ejecuta <sql>", ...
    std::deque<Fallo> fallosAbre;                       // the next opens fail, in order; an empty Fallo succeeds
    std::deque<Fallo> fallosEjecuta;                    // the same for statements
    std::deque<Fallo> fallosEsquema;                    // and for catalogue queries
    QStringList tablas;                                 // the catalogue's tables
    std::function<Resultado(const QString&)> responde;  // the result of a statement; none: no rows
    long afectados = 0;
    long tiempoEspera = 0;  // the last command time-out the engine was given

    QStringList Sentencias() const {
        QStringList s;
        for (const QString& l : llamadas)
            if (l.startsWith(QStringLiteral("Ejecuta "))) s << l.mid(8);
        return s;
    }
};

inline Columna Col(const QString& nombre) {
    Columna c;
    c.nombre = nombre;
    return c;
}

// A result of one row with the given columns.
inline Resultado UnaFila(const QStringList& columnas, const QList<Variant>& valores) {
    Resultado r;
    r.tieneFilas = true;
    for (const QString& c : columnas) r.columnas.push_back(Col(c));
    r.filas.push_back(valores);
    return r;
}

inline Resultado SinFilas(const QStringList& columnas) {
    Resultado r;
    r.tieneFilas = true;
    for (const QString& c : columnas) r.columnas.push_back(Col(c));
    return r;
}

class MotorPrueba : public Motor {
  public:
    explicit MotorPrueba(GuionMotor& g) : g_(g) {}

    void Abre(const QString& cadena) override {
        g_.llamadas << QStringLiteral("Abre ") + cadena;
        Falla(g_.fallosAbre);
        cadena_ = cadena;
    }
    void Cierra() override { g_.llamadas << QStringLiteral("Cierra"); }
    Resultado Ejecuta(const QString& sql) override {
        g_.llamadas << QStringLiteral("Ejecuta ") + sql;
        Falla(g_.fallosEjecuta);
        if (g_.responde) return g_.responde(sql);
        // By default a SELECT finds no rows and any other statement affects the rows the test set.
        if (sql.startsWith(QStringLiteral("SELECT"), Qt::CaseInsensitive)) return SinFilas({QStringLiteral("A")});
        Resultado r;
        r.afectados = g_.afectados;
        return r;
    }
    void IniciaTransaccion() override { g_.llamadas << QStringLiteral("Inicia"); }
    void ConfirmaTransaccion() override { g_.llamadas << QStringLiteral("Confirma"); }
    void DeshaceTransaccion() override { g_.llamadas << QStringLiteral("Deshace"); }
    Resultado Esquema(long tipo, const QList<Variant>&) override {
        g_.llamadas << QStringLiteral("Esquema ") + QString::number(tipo);
        Falla(g_.fallosEsquema);
        Resultado r;
        r.tieneFilas = true;
        r.columnas = {Col(QStringLiteral("TABLE_NAME"))};
        for (const QString& t : g_.tablas) r.filas.push_back({Variant(t)});
        return r;
    }
    void GrabaFila(const QString&, const QList<Columna>&, const QList<Variant>&, const QList<Variant>&) override {}
    void FijaBaseDeDatos(const QString& nombre) override {
        g_.llamadas << QStringLiteral("BaseDeDatos ") + nombre;
        base_ = nombre;
    }
    QString BaseDeDatos() const override { return base_; }
    void FijaTiempoEspera(long segundos) override { g_.tiempoEspera = segundos; }
    QString CadenaInforme() const override { return cadena_; }

  private:
    static void Falla(std::deque<Fallo>& fallos) {
        if (fallos.empty()) return;
        Fallo f = fallos.front();
        fallos.pop_front();
        if (f.numero != 0) Lanza(f.numero, QStringLiteral("Fallo de prueba ") + QString::number(f.numero));
        if (!f.proveedor.isEmpty()) throw ErrorMotor(f.proveedor);
    }
    GuionMotor& g_;
    QString cadena_;
    QString base_;
};

inline void InstalaMotorPrueba(GuionMotor& g) {
    Connection::FijaFabricaDePrueba([&g](const QString&) { return std::make_unique<MotorPrueba>(g); });
}

// The process services the system uses: the program's folder, its executable name, the command line as one
// text, the computer and user names, starting another program without waiting, and the clock.
// Tests install a ProcesoPrueba with their own folder, names, clock and a record of the programs started.
#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

class Proceso {
  public:
    virtual ~Proceso() = default;

    virtual QString CarpetaPrograma() const = 0;   // the executable's folder, without a trailing separator
    virtual QString NombreEjecutable() const = 0;  // without folder or extension: "Pavenko"
    virtual QString LineaComandos() const = 0;     // the arguments joined by single blanks
    virtual QString NombreMaquina() const = 0;
    virtual QString UsuarioMaquina() const = 0;
    virtual QDateTime Ahora() const = 0;
    // Starts a program from a command line (the first word is the program) with a normal window, without
    // waiting. A program that cannot be started raises file-not-found (53).
    virtual void Inicia(const QString& lineaComandos) = 0;
};

// The real process. The command line is taken from main()'s arguments before Qt sees them (Qt would drop
// words such as "-reverse" or "-style x"); until FijaArgumentos is called it is the application's arguments.
class ProcesoSistema : public Proceso {
  public:
    QString CarpetaPrograma() const override;
    QString NombreEjecutable() const override;
    QString LineaComandos() const override;
    QString NombreMaquina() const override;
    QString UsuarioMaquina() const override;
    QDateTime Ahora() const override { return QDateTime::currentDateTime(); }
    void Inicia(const QString& lineaComandos) override;
};

// A process whose every value the test sets.
class ProcesoPrueba : public Proceso {
  public:
    QString carpeta;
    QString ejecutable = QStringLiteral("Pavenko");
    QString lineaComandos;
    QString maquina = QStringLiteral("CAJA01");
    QString usuario = QStringLiteral("operador");
    QDateTime ahora = QDateTime(QDate(2026, 3, 15), QTime(10, 30, 0));
    QStringList iniciados;        // every command line handed to Inicia
    bool fallaAlIniciar = false;  // Inicia raises 53

    QString CarpetaPrograma() const override { return carpeta; }
    QString NombreEjecutable() const override { return ejecutable; }
    QString LineaComandos() const override { return lineaComandos; }
    QString NombreMaquina() const override { return maquina; }
    QString UsuarioMaquina() const override { return usuario; }
    QDateTime Ahora() const override { return ahora; }
    void Inicia(const QString& linea) override;
};

// Keeps the program's own arguments (argv[1] on) as the command line of the real process.
void FijaArgumentos(int argc, const char* const* argv);

Proceso& proceso();
void InstalaProceso(Proceso* p);  // nullptr puts the real process back

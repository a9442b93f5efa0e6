// The one run-time failure of the program: a platform error number with its description and source.
// Every layer raises it; the failure rules of the system read its number.
#pragma once

#include <QByteArray>
#include <QString>
#include <exception>

// Error numbers the system reads, as the platform numbers them.
namespace Err {
constexpr long ArgumentoInvalido = 5;
constexpr long Desbordamiento = 6;
constexpr long SinMemoria = 7;
constexpr long SubindiceFueraDeRango = 9;
constexpr long TiposNoCoinciden = 13;
constexpr long NombreArchivoIncorrecto = 52;
constexpr long ArchivoNoEncontrado = 53;
constexpr long ArchivoYaAbierto = 55;
constexpr long ErrorES = 57;
constexpr long PasaDelFinal = 62;
constexpr long PermisoDenegado = 70;
constexpr long AccesoRuta = 75;
constexpr long RutaNoEncontrada = 76;
constexpr long ObjetoNoEstablecido = 91;
constexpr long UsoInvalidoNull = 94;
constexpr long BofEof = 3021;
constexpr long OperacionNoPermitida = 3219;
constexpr long ElementoNoEncontrado = 3265;
constexpr long ObjetoCerrado = 3704;
constexpr long ObjetoAbierto = 3705;
constexpr long ConexionInutilizable = 3709;
// Provider numbers (HRESULTs read as signed 32-bit values).
constexpr long ErrorNoEspecificado = -2147467259;  // 0x80004005
constexpr long ErrorSentencia = -2147217900;       // 0x80040E14
constexpr long ViolacionIntegridad = -2147217873;  // 0x80040E2F
constexpr long TablaNoEncontrada = -2147217865;    // 0x80040E37
}  // namespace Err

class ErrorEjecucion : public std::exception {
  public:
    explicit ErrorEjecucion(long numero, const QString& descripcion = {}, const QString& origen = {});

    long Number() const { return numero_; }
    const QString& Description() const { return descripcion_; }
    const QString& Source() const { return origen_; }
    const char* what() const noexcept override { return texto_.constData(); }

    // The platform's own text for a number, used when the raiser gives none.
    static QString DescripcionDe(long numero);

  private:
    long numero_;
    QString descripcion_;
    QString origen_;
    QByteArray texto_;
};

[[noreturn]] void Lanza(long numero, const QString& descripcion = {}, const QString& origen = {});

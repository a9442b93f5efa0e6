// Run-time errors and the platform's texts for the numbers the system meets.
#include "ErrorEjecucion.h"

namespace {
struct Texto {
    long numero;
    const char* descripcion;
};
const Texto kTextos[] = {
    {Err::ArgumentoInvalido, "Llamada a procedimiento o argumento no válidos"},
    {Err::Desbordamiento, "Desbordamiento"},
    {Err::SinMemoria, "Memoria insuficiente"},
    {Err::SubindiceFueraDeRango, "El subíndice está fuera del intervalo"},
    {Err::TiposNoCoinciden, "No coinciden los tipos"},
    {Err::NombreArchivoIncorrecto, "Nombre o número de archivo incorrecto"},
    {Err::ArchivoNoEncontrado, "No se ha encontrado el archivo"},
    {Err::ArchivoYaAbierto, "El archivo ya está abierto"},
    {Err::ErrorES, "Error de E/S de dispositivo"},
    {Err::PasaDelFinal, "La entrada pasa del final del archivo"},
    {Err::PermisoDenegado, "Permiso denegado"},
    {Err::AccesoRuta, "Error de acceso a la ruta o el archivo"},
    {Err::RutaNoEncontrada, "No se ha encontrado la ruta de acceso"},
    {Err::ObjetoNoEstablecido, "Variable de objeto o bloque With no establecido"},
    {Err::UsoInvalidoNull, "Uso no válido de Null"},
    {Err::BofEof,
     "BOF o EOF es True, o el registro actual se eliminó. La operación solicitada requiere un registro actual."},
    {Err::OperacionNoPermitida, "No se permite realizar la operación en este contexto."},
    {Err::ElementoNoEncontrado,
     "No se encontró el elemento en la colección que corresponde con el nombre o el ordinal pedido."},
    {Err::ObjetoCerrado, "No se permite realizar la operación si el objeto está cerrado."},
    {Err::ObjetoAbierto, "No se permite realizar la operación si el objeto está abierto."},
    {Err::ConexionInutilizable,
     "No se puede usar la conexión para realizar esta operación. Está cerrada o no es válida en este contexto."},
    {Err::ErrorNoEspecificado, "Error no especificado"},
};
}  // namespace

ErrorEjecucion::ErrorEjecucion(long numero, const QString& descripcion, const QString& origen)
    : numero_(numero), descripcion_(descripcion.isEmpty() ? DescripcionDe(numero) : descripcion), origen_(origen) {
    if (origen_.isEmpty()) origen_ = QStringLiteral("Pavenko");
    texto_ = (QString::number(numero_) + QStringLiteral(": ") + descripcion_).toUtf8();
}

QString ErrorEjecucion::DescripcionDe(long numero) {
    for (const auto& t : kTextos)
        if (t.numero == numero) return QString::fromUtf8(t.descripcion);
    return QStringLiteral("Error definido por la aplicación o por el objeto");
}

void Lanza(long numero, const QString& descripcion, const QString& origen) {
    throw ErrorEjecucion(numero, descripcion, origen);
}

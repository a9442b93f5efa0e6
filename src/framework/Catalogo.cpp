// The lookup catalogue writer.
#include "Catalogo.h"

#include <QSaveFile>

#include "Cp1252.h"
#include "ErrorEjecucion.h"
#include "Lib_ClsCons3.h"
#include "Sesion.h"
#include "Texto.h"

namespace {

struct Consulta {
    const char* nombre;
    const char* tabla;
    const char* campos;
};

// The framework's standard lookups, records 1 to 11 of a new catalogue.
const Consulta kConsultasEstandar[] = {
    {"ARTICULOS", "V_MA_ARTICULOS", "|DESCRIPCION|IDARTICULO|"},
    {"CLIENTES", "VT_CLIENTES", "|RAZON_SOCIAL|CODIGO|CONTACTO|"},
    {"PROVEEDORES", "VT_PROVEEDORES", "|RAZON_SOCIAL|CODIGO|"},
    {"CONTACTOS", "MA_CONTACTOS", "|Nombre_y_Apellido|Domicilio|Localidad|Telefono|"},
    {"VENDEDORES", "V_TA_VENDEDORES", "|NOMBRE|IDVENDEDOR|"},
    {"TECNICOS", "V_TA_TECNICOS", "|NOMBRE|IDTECNICO|"},
    {"MANTENIMIENTOS", "V_MA_MANTENIMIENTOS", "|DESCRIPCION|CODIGO|"},
    {"CUENTAS", "MA_CUENTAS", "|DESCRIPCION|CODIGO|"},
    {"TAREAS", "V_TA_Tareas", "|Descripcion|IdTarea|"},
    {"UnidadNegocio", "V_TA_UnidadNegocio", "|Descripcion|Codigo|"},
    {"DEPOSITO", "V_TA_DEPOSITO", "|Descripcion|IdDeposito|"},
};

QByteArray Campo(const QString& texto, int ancho) {
    QByteArray bytes = ACp1252(texto).left(ancho);
    return bytes + QByteArray(ancho - bytes.size(), ' ');
}

}  // namespace

QByteArray RegistroCatalogo(const QString& nombre, const QString& tabla, const QString& campos, const QString& extra) {
    return Campo(nombre, 100) + Campo(tabla, 100) + Campo(campos, 500) + Campo(extra, 500) + QByteArray("\r\n");
}

void ArmaCatalogoConsultas() {
    EscribeCatalogo(sesion().gConsultas().gRutaMascaraConsultas);
}

void EscribeCatalogo(const QString& ruta) {
    // 1. The new catalogue goes to a temporary file beside the final one; only a complete file is renamed
    //    into place, so a failed write never leaves a partial catalogue that later starts would keep.
    QSaveFile archivo(ruta);
    if (!archivo.open(QIODevice::WriteOnly)) Lanza(Err::AccesoRuta, archivo.errorString(), QStringLiteral("Catalogo"));

    // 2. Each record goes after the content already written.
    for (const Consulta& c : kConsultasEstandar) {
        const QByteArray registro = RegistroCatalogo(Recorta(QString::fromUtf8(c.nombre)), QString::fromUtf8(c.tabla),
                                                     Recorta(QString::fromUtf8(c.campos)));
        if (archivo.write(registro) != kLargoRegistroCatalogo)
            Lanza(Err::ErrorES, archivo.errorString(), QStringLiteral("Catalogo"));
    }

    // 3. Close: the rename into place.
    if (!archivo.commit()) Lanza(Err::ErrorES, archivo.errorString(), QStringLiteral("Catalogo"));
}

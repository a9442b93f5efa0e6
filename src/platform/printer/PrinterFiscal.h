// The fiscal printer control as the main window calls it: every member the system uses, with the dispatch
// identifier under which the control publishes it. Each method returns whether the printer accepted the
// command. All members reach the device through one generic call, Invoca, as a dispatch call would: the
// simulated printer, the trace and the tests' recording control implement that call alone.
#pragma once

#include <QList>
#include <QString>
#include <optional>

#include "Variant.h"

class PrinterFiscal {
  public:
    virtual ~PrinterFiscal() = default;

    // Methods. Texts go as the caller writes them; integers are 16-bit.
    bool RealizarCierre(const QString& tipo, const std::optional<QString>& extra = std::nullopt);  // 0x60030016
    // linea is a text or a 16-bit integer, as the caller passes it.
    bool HeaderTrailer(const QString& accion, const Variant& linea,
                       const std::optional<QString>& texto = std::nullopt);   // 0x60030019
    bool HoraFecha(const QString& t1, const QString& t2, const QString& t3);  // 0x6003001A
    bool VerEstado();                                                         // 0x6003001B
    bool Cajon(const QString& t1);                                            // 0x6003001C
    bool DNFAbrir();                                                          // 0x6003001E
    bool FormatoHoja(qint16 n1, qint16 n2);                                   // 0x6003001F
    bool SetZona(qint16 n1, qint16 n2, qint16 n3, qint16 n4, qint16 n5);      // 0x60030020
    bool SiguienteHoja();                                                     // 0x60030022
    bool FinHoja();                                                           // 0x60030023
    bool SeteaDiseno(const QString& t1, const QString& t2, const QString& t3, const QString& t4, const QString& t5,
                     const QString& t6, const std::optional<QString>& t7 = std::nullopt);  // 0x60030024
    bool SlipPreparar();                                                                   // 0x60030027
    bool SlipHojaColocada();                                                               // 0x60030028
    bool DNFTexto(const QString& t1);                                                      // 0x60030029
    bool DNFCerrar();                                                                      // 0x6003002A
    bool TiqueAbrir(const QString& t1);                                                    // 0x6003002B
    bool TiqueItem(const QString& t1, const QString& t2, const QString& t3, const QString& t4, const QString& t5,
                   const QString& t6, const QString& t7);                     // 0x6003002C
    bool TiqueSubtotal(const QString& t1, const QString& t2);                 // 0x6003002E
    bool TiquePago(const QString& t1, const QString& t2, const QString& t3);  // 0x6003002F
    bool TiqueCerrar();                                                       // 0x60030030
    bool FacturaAbrir(const QString& t1, const QString& t2, const QString& t3, const QString& t4, const QString& t5,
                      const QString& t6, const QString& t7, const QString& t8, const QString& t9, const QString& t10,
                      const QString& t11, const QString& t12, const QString& t13, const QString& t14,
                      const QString& t15, const QString& t16, const QString& t17, const QString& t18,
                      const QString& t19);  // 0x60030031
    bool FacturaItem(const QString& t1, const QString& t2, const QString& t3, const QString& t4, const QString& t5,
                     const QString& t6, const QString& t7, const QString& t8, const QString& t9, const QString& t10,
                     const QString& t11, const QString& t12);                     // 0x60030032
    bool FacturaSubtotal(const QString& t1, const QString& t2);                   // 0x60030034
    bool FacturaPago(const QString& t1, const QString& t2, const QString& t3);    // 0x60030036
    bool FacturaCerrar(const QString& t1, const QString& t2, const QString& t3);  // 0x60030037
    bool DNFHTC(const QString& t1, const QString& t2, const QString& t3, const QString& t4, const QString& t5,
                const QString& t6, const QString& t7, const QString& t8, const QString& t9, const QString& t10,
                const QString& t11, const QString& t12, const QString& t13, const QString& t14, const QString& t15,
                const QString& t16, const QString& t17, const QString& t18, const QString& t19, const QString& t20,
                const QString& t21);  // 0x60030038
    bool DNFHOS(const QString& t1, const QString& t2, const QString& t3, const QString& t4, const QString& t5,
                const QString& t6, const QString& t7, const QString& t8, const QString& t9, const QString& t10,
                const QString& t11, const QString& t12, const QString& t13, const QString& t14, const QString& t15,
                const QString& t16, const QString& t17, const QString& t18);  // 0x60030039
    bool DNFSlipAbrir();                                                      // 0x60030041
    // Properties read as texts.
    QString CampoRespuesta1() { return Lee(QStringLiteral("CampoRespuesta1")); }  // 0x6803000A
    QString CampoRespuesta2() { return Lee(QStringLiteral("CampoRespuesta2")); }  // 0x6803000B
    QString CampoRespuesta3() { return Lee(QStringLiteral("CampoRespuesta3")); }  // 0x6803000C
    QString CampoRespuesta4() { return Lee(QStringLiteral("CampoRespuesta4")); }  // 0x6803000D
    QString CampoRespuesta5() { return Lee(QStringLiteral("CampoRespuesta5")); }  // 0x6803000E
    QString CampoRespuesta6() { return Lee(QStringLiteral("CampoRespuesta6")); }  // 0x6803000F
    QString CampoRespuesta7() { return Lee(QStringLiteral("CampoRespuesta7")); }  // 0x68030010
    QString CampoRespuesta8() { return Lee(QStringLiteral("CampoRespuesta8")); }  // 0x68030011
    QString Estado1() { return Lee(QStringLiteral("Estado1")); }                  // 0x68030012
    QString Estado2() { return Lee(QStringLiteral("Estado2")); }                  // 0x68030013
    // Properties written. A value the device cannot take raises a run-time error.
    void Baud(const QString& valor) { Escribe(QStringLiteral("Baud"), valor); }  // 0x68030014
    void Puerto(qint16 valor) { Escribe(QStringLiteral("Puerto"), valor); }      // 0x68030015

    // The generic call: a method by name with its arguments, in order.
    virtual bool Invoca(const QString& metodo, const QList<Variant>& argumentos) = 0;
    virtual QString Lee(const QString& propiedad) = 0;
    virtual void Escribe(const QString& propiedad, const Variant& valor) = 0;
};

// Dispatch identifiers by member name, for the trace and for tools; 0 for a name the control lacks.
long IdDespacho(const QString& miembro);

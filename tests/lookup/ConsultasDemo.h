// Test support for the lookup windows: the demo company database connected on the session's gDB, settings read
// from a table the test fills, and a look at the window a lookup opens.
#pragma once

#include <QMap>

#include "BaseDemo.h"
#include "DB_Dll.h"
#include "Lib_ClsCons3.h"
#include "Sesion.h"

class ConConsultas : public ConBaseDemo {
  protected:
    void SetUp() override {
        ConBaseDemo::SetUp();
        Conecta();
    }
    DB_Dll& db() { return sesion().gDB(); }
    Lib_ClsCons3::LecturaCfg cfg() {
        return [this](const QString& clave) { return ajustes.value(clave, QStringLiteral(" ")); };
    }
    QMap<QString, QString> ajustes;  // an absent key reads as one blank
};

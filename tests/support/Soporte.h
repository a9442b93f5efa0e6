// Test support: every test runs with the scripted ui double and a test process (its own program folder in a
// temporary directory, fixed names and clock) under the real locale; a box nobody expected fails it.
#pragma once

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "Proceso.h"
#include "Regional.h"
#include "UiGuion.h"

class ConEntorno : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // The program folder of the test, with a trailing separator.
    QString Carpeta() const;
    QString Ruta(const QString& archivo) const { return Carpeta() + archivo; }
    // For a test about a locale only: the regional settings of that locale ("es_AR") until the test ends.
    void FijaLocale(const char* nombre);

    UiGuion guion;
    ProcesoPrueba proc;
    QTemporaryDir dir;
    Regional regionalAnterior;
};

// What every harness needs: the offscreen Qt application, a process whose program folder is a temporary one, and
// the scripted ui, so that a message box never waits for an operator. Each input gets a fresh ui double and an
// empty folder.
#pragma once

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "Proceso.h"
#include "TkPrint2.h"
#include "UiGuion.h"

class EntornoFuzz {
  public:
    static EntornoFuzz& Uno() {
        static EntornoFuzz entorno;
        return entorno;
    }
    // Called at the start of each input: the folder emptied, a new ui double installed.
    void Reinicia() {
        QDir carpeta(dir_.path());
        for (const QString& f : carpeta.entryList(QDir::Files | QDir::Hidden | QDir::System)) carpeta.remove(f);
        guion_ = std::make_unique<UiGuion>();
        InstalaUi(guion_.get());
    }
    QString Ruta(const QString& archivo) const { return QDir(dir_.path()).filePath(archivo); }
    ProcesoPrueba& Proceso() { return proc_; }

  private:
    EntornoFuzz() {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char nombre[] = "fuzz";
        static char* argv[] = {nombre, nullptr};
        app_ = std::make_unique<QApplication>(argc, argv);
        proc_.carpeta = dir_.path();
        InstalaProceso(&proc_);
        FijaCarpeta({});
    }
    std::unique_ptr<QApplication> app_;
    QTemporaryDir dir_;
    ProcesoPrueba proc_;
    std::unique_ptr<UiGuion> guion_;
};

// A broken invariant: says which and stops, so that libFuzzer keeps the input.
#define EXIGE(condicion, ...)                                           \
    do {                                                                \
        if (!(condicion)) {                                             \
            std::fprintf(stderr, "invariant broken: %s\n", #condicion); \
            std::fprintf(stderr, __VA_ARGS__);                          \
            std::fprintf(stderr, "\n");                                 \
            std::abort();                                               \
        }                                                               \
    } while (false)

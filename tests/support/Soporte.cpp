// The test environment and the tests' main(): a QApplication on the offscreen platform.
#include "Soporte.h"

#include <QApplication>
#include <QLocale>

#include "TkPrint2.h"
#include "Ui.h"

void ConEntorno::SetUp() {
    ASSERT_TRUE(dir.isValid());
    proc.carpeta = dir.path();
    InstalaUi(&guion);
    InstalaProceso(&proc);
    FijaCarpeta({});
    // The workstation's own regional settings, as the locale gives them; a test about a locale sets its own and
    // gets these back afterwards.
    regionalAnterior = ConfiguracionRegional();
}

void ConEntorno::TearDown() {
    for (const QString& i : guion.Inesperadas()) ADD_FAILURE() << "unexpected: " << i.toStdString();
    EXPECT_FALSE(guion.QuedanRespuestas()) << "answers queued for boxes that never came";
    InstalaUi(nullptr);
    InstalaProceso(nullptr);
    FijaCarpeta({});
    ConfiguracionRegional() = regionalAnterior;
}

void ConEntorno::FijaLocale(const char* nombre) {
    ConfiguracionRegional() = Regional::De(QLocale(QString::fromUtf8(nombre)));
}

QString ConEntorno::Carpeta() const {
    return AgregaSeparador(dir.path());
}

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

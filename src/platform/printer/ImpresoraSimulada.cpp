// The simulated fiscal printer as a device: attached at a port and speed, it runs each command through its row of
// the command table on a copy of the memory, saves the new memory atomically and then prints.
#include "ImpresoraSimuladaInterna.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>

#include "ErrorEjecucion.h"
#include "Proceso.h"

using namespace simulada;

namespace {
bool EscribeTodo(int fd, const char* datos, qsizetype largo) {
    while (largo > 0) {
        const ssize_t escritos = ::write(fd, datos, size_t(largo));
        if (escritos < 0 && errno == EINTR) continue;
        if (escritos <= 0) return false;
        datos += escritos;
        largo -= escritos;
    }
    return true;
}

// The device's lock file holds two one-byte locks, each held through its own open file, so that they also tell
// apart two devices in one program: byte 0 while a command runs (exclusive), byte 1 while a program has the device
// open (shared; exclusive only to the first one, which is the device being switched on).
constexpr off_t kByteComando = 0, kByteEncendida = 1;

bool Bloquea(int fd, off_t byte, short tipo) {
    struct flock f {};
    f.l_type = tipo;
    f.l_whence = SEEK_SET;
    f.l_start = byte;
    f.l_len = 1;
    return fd >= 0 && ::fcntl(fd, F_OFD_SETLK, &f) == 0;
}

// Tries the lock until it is had or the time is up.
bool Espera(int fd, off_t byte, short tipo, int milisegundos) {
    QElapsedTimer reloj;
    reloj.start();
    while (!Bloquea(fd, byte, tipo)) {
        if (fd < 0 || (errno != EAGAIN && errno != EACCES && errno != EINTR) || reloj.elapsed() >= milisegundos)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

// The device held for one command, let go when it ends.
class Tomada {
  public:
    // Without a lock file (a folder that takes no new file) nobody can share the device: it is always had.
    Tomada(int fd, int milisegundos) : fd_(fd), tomada_(fd < 0 || Espera(fd, kByteComando, F_WRLCK, milisegundos)) {}
    ~Tomada() {
        if (tomada_ && fd_ >= 0) Bloquea(fd_, kByteComando, F_UNLCK);
    }
    explicit operator bool() const { return tomada_; }

  private:
    int fd_;
    bool tomada_;
};

const int kBaudios[] = {110, 300, 600, 1200, 2400, 4800, 9600, 14400, 19200, 38400, 57600, 115200};
}  // namespace

ImpresoraSimulada::ImpresoraSimulada(QObject* padre) : QObject(padre) {
    cerrojo_ = ::open(QFile::encodeName(RutaCerrojo()).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    const Tomada tomada(cerrojo_, esperaMs_);
    // Only the first program to open the device switches it on; the others find it running as it is.
    const bool encendido = tomada && (cerrojo_ < 0 || Bloquea(cerrojo_, kByteEncendida, F_WRLCK));
    if (encendido) QuitaTemporales();
    Carga();
    if (encendido) ApagaYEnciendeTomado();
    Espera(cerrojo_, kByteEncendida, F_RDLCK, esperaMs_);
}

ImpresoraSimulada::~ImpresoraSimulada() {
    if (cerrojo_ >= 0) ::close(cerrojo_);
}

QString ImpresoraSimulada::RutaCerrojo() const {
    return QDir(proceso().CarpetaPrograma()).filePath(QStringLiteral("ImpresoraSimulada.lock"));
}

bool ImpresoraSimulada::ApagaYEnciende() {
    const Tomada tomada(cerrojo_, esperaMs_);
    if (!tomada) return false;
    Carga();
    return ApagaYEnciendeTomado();
}

bool ImpresoraSimulada::Relee() {
    QFile archivo(RutaMemoria());
    if (!archivo.open(QIODevice::ReadOnly)) return false;
    const QByteArray bytes = archivo.readAll();
    if (bytes == leidos_) return false;
    // A file being set aside or damaged is left to the next command, which holds the device.
    const auto leida = MemoriaFiscal::DesdeJson(bytes);
    if (!leida) return false;
    memoria_ = *leida;
    leidos_ = bytes;
    emit Cambio();
    return true;
}

bool ImpresoraSimulada::ApagaYEnciendeTomado() {
    for (auto& r : respuestas_) r.clear();
    fallo_ = aviso_ = 0;
    nuevoDia_ = false;
    papel_.clear();
    const unsigned abiertos = kDNF | En(EstadoFiscal::SlipPreparado) | En(EstadoFiscal::SlipColocado);
    if (abiertos & En(memoria_.estado)) fallo_ = Aplica([this](MemoriaFiscal& m) { return CancelaNoFiscal(m); });
    emit Cambio();
    return fallo_ == 0;
}

QString ImpresoraSimulada::RutaMemoria() const {
    return QDir(proceso().CarpetaPrograma()).filePath(QStringLiteral("ImpresoraSimulada.json"));
}

QString ImpresoraSimulada::RutaPapel() const {
    return QDir(proceso().CarpetaPrograma()).filePath(QStringLiteral("ImpresoraSimulada.txt"));
}

bool ImpresoraSimulada::Conectada() const {
    return !ocupada_ && puertoEscrito_ == memoria_.puerto && baudEscrito_ == memoria_.baud;
}
void ImpresoraSimulada::Escribe(const QString& propiedad, const Variant& valor) {
    if (propiedad == QLatin1String("Puerto")) {
        const int n = valor.AEntero();
        if (n < 1 || n > 4)
            Lanza(Err::ArgumentoInvalido, QStringLiteral("Puerto no válido: %1. Los puertos son COM1 a COM4").arg(n));
        puertoEscrito_ = n;
    } else if (propiedad == QLatin1String("Baud")) {
        const QString texto = valor.ATexto().trimmed();
        const int n = SonDigitos(texto) && texto.size() <= 6 ? texto.toInt() : 0;
        if (std::find(std::begin(kBaudios), std::end(kBaudios), n) == std::end(kBaudios))
            Lanza(Err::ArgumentoInvalido, QStringLiteral("Velocidad no válida: \"%1\"").arg(texto));
        baudEscrito_ = n;
    } else {
        Lanza(Err::ArgumentoInvalido, QStringLiteral("La impresora no admite escribir ") + propiedad);
    }
    emit Cambio();
}

bool ImpresoraSimulada::Invoca(const QString& metodo, const QList<Variant>& argumentos) {
    for (auto& r : respuestas_) r.clear();
    fallo_ = aviso_ = 0;
    nuevoDia_ = false;
    papel_.clear();
    const auto termina = [this](quint16 fallo) {
        fallo_ = fallo;
        emit Cambio();
        return false;
    };

    // 1. Nothing answers while the port and speed are not the device's, or while another program holds it; held,
    // the device works on the memory as the other program left it.
    ocupada_ = false;
    if (!Conectada()) return termina(0);
    const Tomada tomada(cerrojo_, esperaMs_);
    if (!tomada) {
        ocupada_ = true;
        return termina(0);
    }
    Carga();
    if (!Conectada()) return termina(0);

    // 2. The command's row, its states and its arguments.
    const Comando* comando = nullptr;
    for (const Comando& c : Comandos())
        if (metodo == QLatin1String(c.nombre)) comando = &c;
    if (!comando) return termina(Bit2::ComandoDesconocido);
    if (!(comando->estados & En(memoria_.estado))) return termina(Bit2::FueraDeEstado);
    if (argumentos.size() < comando->minimo || argumentos.size() > comando->chequeos.size())
        return termina(Bit2::ArgumentoInvalido);
    Argumentos a;
    a.valores = argumentos;
    try {
        for (const Variant& v : argumentos) a.textos << v.ATexto();
    } catch (const ErrorEjecucion&) {
        return termina(Bit2::ArgumentoInvalido);  // a Null or an unreadable value is a bad field
    }
    for (int i = 0; i < a.size(); ++i)
        if (!Cumple(comando->chequeos[i], a.valores[i], a[i])) return termina(Bit2::ArgumentoInvalido);

    // 3. The handler works on a copy, saved before it is printed.
    if (const quint16 fallo = Aplica([&](MemoriaFiscal& m) { return (this->*comando->manejador)(m, a); }))
        return termina(fallo);
    emit Cambio();
    return true;
}

quint16 ImpresoraSimulada::Aplica(const std::function<Resultado(MemoriaFiscal&)>& manejador) {
    // A refusal changes nothing.
    MemoriaFiscal nueva = memoria_;
    quint16 fallo = 0;
    switch (manejador(nueva)) {
        case Resultado::FueraDeEstado:
            fallo = Bit2::FueraDeEstado;
            break;
        case Resultado::ArgumentoInvalido:
            fallo = Bit2::ArgumentoInvalido;
            break;
        case Resultado::MemoriaLlena:
            fallo = Bit2::MemoriaLlena;
            break;
        case Resultado::Acepta:
            break;
    }
    // Saved first, printed after: what the roll shows is in the memory.
    if (!fallo && !Guarda(nueva)) fallo = Bit2::ErrorAlGuardar;
    if (fallo) {
        for (auto& r : respuestas_) r.clear();
        aviso_ = 0;
        return fallo;
    }
    memoria_ = nueva;
    if (nuevoDia_) reiniciada_ = false;
    if (!papel_.isEmpty()) AgregaAlPapel(papel_.join(QLatin1Char('\n')) + QLatin1Char('\n'));
    return 0;
}

void ImpresoraSimulada::Carga() {
    QFile archivo(RutaMemoria());
    if (!archivo.exists()) return;
    std::optional<MemoriaFiscal> leida;
    QByteArray bytes;
    if (archivo.open(QIODevice::ReadOnly)) {
        bytes = archivo.readAll();
        if (!bytes.isEmpty() && bytes == leidos_) return;  // nobody changed it
        leida = MemoriaFiscal::DesdeJson(bytes);
    }
    archivo.close();
    if (leida) {
        memoria_ = *leida;
        leidos_ = bytes;
        return;
    }
    // An unreadable memory is kept for whoever wants to look at it; the device starts afresh.
    apartado_ =
        RutaMemoria() + QStringLiteral(".danado-") + proceso().Ahora().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QFile::remove(apartado_);
    QFile::rename(RutaMemoria(), apartado_);
    memoria_ = MemoriaFiscal{};
    leidos_.clear();
    reiniciada_ = true;
}

bool ImpresoraSimulada::Guarda(const MemoriaFiscal& m) {
    // The new memory goes to a temporary file beside it, flushed to the disk and renamed over the old one, and
    // then the folder is flushed so the rename itself survives a power cut: a cut at any moment leaves the old
    // memory or the new one, whole.
    const QByteArray bytes = m.AJson();
    if (bytes == leidos_ && !corte_) return true;  // nothing changed
    QByteArray temporal = QFile::encodeName(RutaMemoria()) + ".XXXXXX";
    const int fd = ::mkstemp(temporal.data());
    if (fd < 0) return false;
    ::fchmod(fd, 0644);
    const qsizetype largo = corte_ ? std::min<qsizetype>(*corte_, bytes.size()) : bytes.size();
    bool bien = EscribeTodo(fd, bytes.constData(), largo) && !corte_ && ::fsync(fd) == 0;
    corte_.reset();
    bien = ::close(fd) == 0 && bien;
    if (!bien || ::rename(temporal.constData(), QFile::encodeName(RutaMemoria()).constData()) != 0) {
        ::unlink(temporal.constData());
        return false;
    }
    const int carpeta = ::open(QFile::encodeName(proceso().CarpetaPrograma()).constData(), O_RDONLY | O_DIRECTORY);
    if (carpeta >= 0) {
        ::fsync(carpeta);  // the memory is already in place; a folder that cannot be flushed only loses safety
        ::close(carpeta);
    }
    leidos_ = bytes;
    return true;
}

void ImpresoraSimulada::QuitaTemporales() {
    // A save killed halfway leaves its temporary file: "ImpresoraSimulada.json." and six random characters.
    static const QRegularExpression temporal(QStringLiteral("^ImpresoraSimulada\\.json\\.[A-Za-z0-9]{6}$"));
    const QDir carpeta(proceso().CarpetaPrograma());
    for (const QString& nombre : carpeta.entryList({QStringLiteral("ImpresoraSimulada.json.*")}, QDir::Files))
        if (temporal.match(nombre).hasMatch()) QFile::remove(carpeta.filePath(nombre));
}

void ImpresoraSimulada::AgregaAlPapel(const QString& texto) {
    // A roll that cannot be written loses the print only: the memory already holds the document.
    QFile rollo(RutaPapel());
    if (rollo.open(QIODevice::WriteOnly | QIODevice::Append)) rollo.write(texto.toUtf8());
    rollo.close();  // on the disk before anyone is told
    emit Imprimio(texto);
}

QDateTime ImpresoraSimulada::HoraImpresora(const MemoriaFiscal& m) const {
    return proceso().Ahora().addSecs(m.desfaseReloj);
}

#include "qivera/printing/pdf_factura.hpp"

#include <memory>

#include <QBuffer>
#include <QGuiApplication>
#include <QHash>
#include <QPainter>
#include <QPdfWriter>
#include <QTextLayout>

#include "kx204/host/runtime_error.hpp"
#include "qivera/printing/legible.hpp"
#include "qivera/printing/trazabilidad.hpp"

namespace qivera {

using kx204::host::Currency;

namespace {

constexpr long kErrorSinAplicacion = 5;  // VB's "Invalid procedure call or argument"
constexpr int kPuntosPorPulgada = 72;    // one device unit per typographic point
constexpr qreal kMargen = 36;
constexpr qreal kSeparacion = 4;

constexpr qreal kPie = 14;  // the page number's band at the foot of every page

QString Q(const std::string& texto) { return QString::fromStdString(texto); }

// A quantity without the zeros that say nothing: "3", "2.5".
QString Cantidad(double cantidad) {
    QString texto = Q(TextoCantidad(cantidad));
    while (texto.endsWith('0')) texto.chop(1);
    if (texto.endsWith('.')) texto.chop(1);
    return texto;
}

struct Columna {
    const char* titulo;
    qreal ancho;  // 0: what the others leave
    Qt::Alignment alineacion;
};
const Columna kColumnas[] = {{"Producto", 64, Qt::AlignLeft},
                             {"Concepto", 0, Qt::AlignLeft},
                             {"Cantidad", 92, Qt::AlignRight},
                             {"Precio unitario", 84, Qt::AlignRight},
                             {"Importe", 84, Qt::AlignRight}};

// Text wrapped to a width, laid out once per font, width, alignment and text: an invoice repeats its
// units and its products' lots and serial numbers line after line, and shaping text is where printing
// spends its time.
class Maquetas {
public:
    explicit Maquetas(QPaintDevice& dispositivo) : dispositivo_(dispositivo) {}

    const QTextLayout& De(const QFont& fuente, qreal ancho, Qt::Alignment alineacion, const QString& texto) {
        const QString clave = QString("%1|%2|%3|").arg(fuente.key()).arg(ancho).arg(int(alineacion)) + texto;
        // A long invoice's prices and amounts hardly repeat: start afresh rather than keep them all.
        if (maquetas_.size() >= kMaximo && !maquetas_.contains(clave)) maquetas_.clear();
        auto& maqueta = maquetas_[clave];
        if (!maqueta) maqueta = Compone(fuente, ancho, alineacion, texto);
        return *maqueta;
    }

    static qreal Alto(const QTextLayout& maqueta) {
        return maqueta.text().isEmpty() ? 0 : maqueta.boundingRect().height();
    }

private:
    std::unique_ptr<QTextLayout> Compone(const QFont& fuente, qreal ancho, Qt::Alignment alineacion,
                                         const QString& texto) {
        auto maqueta =
            std::make_unique<QTextLayout>(QString(texto).replace('\n', QChar::LineSeparator), fuente, &dispositivo_);
        QTextOption opcion(alineacion);
        opcion.setWrapMode(QTextOption::WordWrap);
        maqueta->setTextOption(opcion);
        maqueta->beginLayout();
        qreal alto = 0;
        for (QTextLine linea = maqueta->createLine(); linea.isValid(); linea = maqueta->createLine()) {
            linea.setLineWidth(ancho);
            linea.setPosition(QPointF(0, alto));
            alto += linea.height();
        }
        maqueta->endLayout();
        return maqueta;
    }

    static constexpr qsizetype kMaximo = 2000;
    QPaintDevice& dispositivo_;
    QHash<QString, std::shared_ptr<QTextLayout>> maquetas_;
};

// Paints one invoice page after page, moving down as it writes.
class Hoja {
public:
    Hoja(QPdfWriter& escritor, const FacturaGuardada& factura)
        : escritor_(escritor),
          factura_(factura),
          pintor_(&escritor),
          maquetas_(escritor),
          ancho_(escritor.width()),
          alto_(escritor.height()) {}

    // Twice: once to count the pages, so that each can say "n de m", and once to paint them.
    void Escribe(const std::string& formato) {
        Contenido(formato);
        paginas_ = pagina_;
        Contenido(formato);
    }

private:
    bool Contando() const { return paginas_ == 0; }

    void Contenido(const std::string& formato) {
        pagina_ = 1;
        y_ = 0;
        Fuente(7);
        Caja(0, ancho_, Q(formato), Qt::AlignRight);
        Encabezado();
        Cliente();
        TitulosTabla();
        for (const RenglonGuardado& renglon : factura_.renglones) Renglon(renglon);
        Totales();
        Notas();
        PieDePagina();
    }

    void Fuente(int puntos, bool negrita = false) {
        pintor_.setFont(QFont("DejaVu Sans", puntos, negrita ? QFont::Bold : QFont::Normal));
    }

    // Writes `texto` wrapped in a box `ancho` wide at (x, y_ + abajo) and answers the height it took.
    qreal Caja(qreal x, qreal ancho, const QString& texto, Qt::Alignment alineacion = Qt::AlignLeft, qreal abajo = 0) {
        const QTextLayout& maqueta = maquetas_.De(pintor_.font(), ancho, alineacion, texto);
        if (!Contando()) maqueta.draw(&pintor_, QPointF(x, y_ + abajo));
        return Maquetas::Alto(maqueta);
    }
    qreal AltoDe(qreal ancho, const QString& texto, Qt::Alignment alineacion = Qt::AlignLeft) {
        return Maquetas::Alto(maquetas_.De(pintor_.font(), ancho, alineacion, texto));
    }
    void Linea() {
        if (!Contando()) pintor_.drawLine(QPointF(0, y_), QPointF(ancho_, y_));
        y_ += kSeparacion;
    }
    // Starts a new page, with the table's titles again, when `alto` does not fit on this one.
    void Reserva(qreal alto) {
        if (y_ + alto <= alto_ - kPie) return;
        PieDePagina();
        if (!Contando()) escritor_.newPage();
        ++pagina_;
        y_ = 0;
        TitulosTabla();
    }
    void PieDePagina() {
        const qreal y = y_;
        const QFont fuente = pintor_.font();
        y_ = alto_ - kPie + kSeparacion;
        Fuente(7);
        Caja(0, ancho_, QStringLiteral("Página %1 de %2").arg(pagina_).arg(paginas_), Qt::AlignRight);
        pintor_.setFont(fuente);
        y_ = y;
    }

    void Encabezado() {
        y_ = 12;
        const qreal mitad = ancho_ / 2;
        const QString sucursal = Q(factura_.sucursalNombre.empty() ? factura_.sucursal : factura_.sucursalNombre);
        const qreal izquierda = Bloque(0, mitad, Qt::AlignLeft, sucursal,
                                       "Sucursal " + Q(factura_.sucursal) + "\n" + Q(factura_.sucursalDireccion));
        const qreal derecha = Bloque(
            mitad, mitad, Qt::AlignRight, "Factura " + Q(factura_.factura),
            QString("Serie %1   Número %2\nFolio %3\nFecha %4\nMoneda %5")
                .arg(Q(factura_.serie))
                .arg(factura_.numero)
                .arg(Q(factura_.folio), FechaLegible(factura_.fecha.ToIso()).value_or(Q(factura_.fecha.ToDdMmYyyy())),
                     Q(factura_.moneda)));
        y_ += std::max(izquierda, derecha) + kSeparacion;
        Linea();
    }

    // A bold title over plain text, side by side with another block: answers its height, leaves y_.
    qreal Bloque(qreal x, qreal ancho, Qt::Alignment alineacion, const QString& titulo, const QString& texto) {
        Fuente(14, true);
        const qreal alto = Caja(x, ancho, titulo, alineacion);
        Fuente(9);
        return alto + Caja(x, ancho, texto, alineacion, alto);
    }

    void Cliente() {
        Fuente(9, true);
        y_ += Caja(0, ancho_, "Cliente " + Q(factura_.cliente));
        Fuente(9);
        y_ +=
            Caja(0, ancho_,
                 Q(factura_.clienteNombre) + "\nRFC: " + Q(factura_.clienteRfc) + "\n" + Q(factura_.clienteDireccion));
        y_ += kSeparacion;
        Linea();
    }

    qreal AnchoColumna(const Columna& columna) const {
        if (columna.ancho > 0) return columna.ancho;
        qreal fijas = 0;
        for (const Columna& otra : kColumnas) fijas += otra.ancho;
        return ancho_ - fijas;
    }

    // Writes one table row, a cell per column, and moves below its tallest cell.
    void Fila(const QString (&celdas)[std::size(kColumnas)]) {
        qreal x = 0, alto = 0;
        for (std::size_t i = 0; i < std::size(kColumnas); ++i) {
            const qreal ancho = AnchoColumna(kColumnas[i]);
            alto = std::max(alto, Caja(x + 2, ancho - 4, celdas[i], kColumnas[i].alineacion));
            x += ancho;
        }
        y_ += alto;
    }

    void TitulosTabla() {
        Fuente(8, true);
        QString titulos[std::size(kColumnas)];
        for (std::size_t i = 0; i < std::size(kColumnas); ++i) titulos[i] = kColumnas[i].titulo;
        Fila(titulos);
        Linea();
        Fuente(8);
    }

    static QString Cantidades(const RenglonGuardado& r) {
        QString texto = Cantidad(r.cantidad1) + " " + Q(r.unidad1);
        if (r.cantidad2 != 0 || !r.unidad2.empty()) texto += "\n" + Cantidad(r.cantidad2) + " " + Q(r.unidad2);
        return texto;
    }

    // The concept, and under it the size and colour that tell apart lines of one product.
    static QString Concepto(const RenglonGuardado& r) {
        QStringList variante;
        if (!r.talla.empty()) variante << "Talla " + Q(r.talla);
        if (!r.color.empty()) variante << "Color " + Q(r.color);
        return variante.isEmpty() ? Q(r.concepto) : Q(r.concepto) + "\n" + variante.join(QStringLiteral(" · "));
    }

    // The lots and serial numbers, under the concept and across the amounts.
    static QString Trazabilidad(const RenglonGuardado& r) {
        QStringList partes;
        if (!r.lotes.empty()) partes << LotesLegibles(r.lotes, r.unidad1, r.unidad2);
        if (!r.series.empty()) partes << "Series: " + SeriesLegibles(r.series);
        return partes.join("\n");
    }

    void Renglon(const RenglonGuardado& r) {
        const QString celdas[] = {Q(r.producto), Concepto(r), Cantidades(r), DineroLegible(r.precioUnitario),
                                  DineroLegible(r.importe)};
        const QString trazabilidad = Trazabilidad(r);
        const qreal xTrazabilidad = AnchoColumna(kColumnas[0]);
        qreal alto = 0;
        for (std::size_t i = 0; i < std::size(kColumnas); ++i)
            alto = std::max(alto, AltoDe(AnchoColumna(kColumnas[i]) - 4, celdas[i], kColumnas[i].alineacion));
        const qreal anchoTrazabilidad = ancho_ - xTrazabilidad - 4;
        Fuente(7);
        const qreal altoTrazabilidad = AltoDe(anchoTrazabilidad, trazabilidad);
        Fuente(8);
        Reserva(alto + altoTrazabilidad);
        Fila(celdas);
        if (altoTrazabilidad > 0) {
            Fuente(7);
            y_ += Caja(xTrazabilidad + 2, anchoTrazabilidad, trazabilidad);
            Fuente(8);
        }
        y_ += kSeparacion;
    }

    void Totales() {
        struct Total {
            const char* nombre;
            Currency importe;
            bool negrita;
        };
        const Total totales[] = {{"Subtotal", factura_.subtotal, false},
                                 {"Descuento", factura_.descuento, false},
                                 {"Impuesto", factura_.impuesto, false},
                                 {"Total", factura_.total, true}};
        Reserva(std::size(totales) * 14 + kSeparacion);
        Linea();
        const qreal valor = 110, etiqueta = 90;
        for (const auto& [nombre, importe, negrita] : totales) {
            Fuente(9, negrita);
            Caja(ancho_ - valor - etiqueta, etiqueta, nombre, Qt::AlignRight);
            y_ += Caja(ancho_ - valor, valor, DineroLegible(importe), Qt::AlignRight);
        }
    }

    // The sale notes the invoice covers, after its totals.
    void Notas() {
        if (factura_.notas.empty()) return;
        QStringList notas;
        for (const std::string& nota : factura_.notas) notas << Q(nota);
        const QString texto = "Notas de venta: " + notas.join(QStringLiteral(", "));
        Fuente(8);
        Reserva(kSeparacion + AltoDe(ancho_, texto));
        y_ += kSeparacion;
        y_ += Caja(0, ancho_, texto);
    }

    QPdfWriter& escritor_;
    const FacturaGuardada& factura_;
    QPainter pintor_;
    Maquetas maquetas_;
    qreal ancho_, alto_;
    qreal y_ = 0;
    int pagina_ = 1;
    int paginas_ = 0;  // 0 while counting them
};

}  // namespace

QByteArray PdfFactura(const FacturaGuardada& factura, const std::string& formato) {
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr)
        throw kx204::host::RuntimeError(kErrorSinAplicacion,
                                        "La impresión necesita una aplicación gráfica (QGuiApplication)");
    QByteArray pdf;
    QBuffer salida(&pdf);
    salida.open(QIODevice::WriteOnly);
    {
        QPdfWriter escritor(&salida);
        escritor.setPageSize(QPageSize(QPageSize::Letter));
        escritor.setPageMargins(QMarginsF(kMargen, kMargen, kMargen, kMargen), QPageLayout::Point);
        escritor.setResolution(kPuntosPorPulgada);
        escritor.setTitle("Factura " + Q(factura.factura) + " folio " + Q(factura.folio));
        escritor.setCreator("Qivera");
        Hoja(escritor, factura).Escribe(formato);
    }
    return pdf;
}

}  // namespace qivera

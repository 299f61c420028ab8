// The desktop's note list over a real Lista: what it shows, and a person's ticks, header clicks
// and selection reaching the list.
#include <QHeaderView>
#include <QSignalSpy>
#include <QStyle>
#include <QTest>
#include <memory>

#include "qivera/desktop/registro.hpp"
#include "qivera/desktop/vista_lista.hpp"

namespace host = kx204::host;

namespace {

// Columns as the screen has them (texts, a hidden one, a right-aligned amount), with the
// screen's header-click handler: sort by the column, flipping the order on every click.
struct Banco {
    host::Lista lista{"lvNotas", host::Control::kSinGrupo};
    std::unique_ptr<qivera::escritorio::VistaLista> vista;
    std::vector<int> marcadas, columnas;
    int cambios = 0;

    Banco() {
        using host::Alineacion;
        lista.SetColumnas({{"Folio", Alineacion::Izquierda, 1500},
                           {"Cliente", Alineacion::Izquierda, 3000},
                           {"Oculta", Alineacion::Izquierda, 0},
                           {"Total", Alineacion::Derecha, 1200}});
        lista.SetMultiSelect(true);
        lista.Agrega({{"N-002", {"gamma", "x", "20.00"}}, {"N-003", {"Alfa", "y", "30.00"}}, {"N-001", {"beta"}}});
        lista.OnItemCheck = [this](int i) { marcadas.push_back(i); };
        lista.OnColumnClick = [this](int columna) {
            columnas.push_back(columna);
            const bool ascendente = lista.SortOrder() == host::Orden::Ascendente;
            lista.SetOrden(columna - 1, ascendente ? host::Orden::Descendente : host::Orden::Ascendente);
        };
        vista = std::make_unique<qivera::escritorio::VistaLista>(lista);
        vista->OnCambio = [this] { ++cambios; };
        vista->resize(700, 300);
        vista->show();
    }
    QModelIndex Indice(int fila, int columna) const { return vista->model()->index(fila, columna); }
    QString Texto(int fila, int columna) const { return Indice(fila, columna).data().toString(); }
    void Clic(int fila, Qt::KeyboardModifiers teclas = Qt::NoModifier) const {
        QTest::mouseClick(vista->viewport(), Qt::LeftButton, teclas, vista->visualRect(Indice(fila, 1)).center());
    }
    void ClicCasilla(int fila) const {
        QStyleOptionViewItem opcion;
        opcion.initFrom(vista->viewport());
        opcion.rect = vista->visualRect(Indice(fila, 0));
        opcion.features = QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDisplay;
        const QRect casilla =
            vista->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &opcion, vista.get());
        QTest::mouseClick(vista->viewport(), Qt::LeftButton, Qt::NoModifier, casilla.center());
    }
    void ClicEncabezado(int seccion) const {
        QHeaderView* encabezado = vista->horizontalHeader();
        const int x = encabezado->sectionViewportPosition(seccion) + encabezado->sectionSize(seccion) / 2;
        QTest::mouseClick(encabezado->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(x, encabezado->height() / 2));
    }
    std::vector<bool> Seleccionadas() const {
        std::vector<bool> seleccion;
        for (int i = 0; i < lista.Count(); ++i) seleccion.push_back(lista.Item(i).selected);
        return seleccion;
    }
};

}  // namespace

class ListaTest : public QObject {
    Q_OBJECT

private slots:
    void muestraItemsYColumnasComoUnLibro() {
        Banco banco;
        QCOMPARE(banco.vista->model()->headerData(3, Qt::Horizontal).toString(), QString("Total"));
        QCOMPARE(banco.Texto(0, 0), QString("N-002"));
        QCOMPARE(banco.Texto(1, 3), QString("30.00"));
        QCOMPARE(banco.Texto(2, 3), QString());  // fewer sub-items than columns
        // Widths come in twips, 15 to a pixel; a width of 0 hides the column.
        QCOMPARE(banco.vista->columnWidth(1), 200);
        QVERIFY(banco.vista->isColumnHidden(2) && !banco.vista->isColumnHidden(3));
        QCOMPARE(banco.Indice(0, 3).data(Qt::TextAlignmentRole).toInt(), int(Qt::AlignRight | Qt::AlignVCenter));
        QCOMPARE(banco.Indice(0, 0).data(Qt::CheckStateRole).toInt(), int(Qt::Unchecked));
        QVERIFY(!banco.Indice(0, 1).data(Qt::CheckStateRole).isValid());

        // The view reads like a ledger; the screen's own texts, which its totals and the export use, stay.
        banco.lista.Agrega({{"2026-02-06", {"2026-03-01 00:00:00", "x", "1781.165"}}, {"N-4", {"1500", "", "0"}}});
        banco.vista->Refresca();
        QCOMPARE(banco.Texto(3, 0), QStringLiteral("06/02/2026"));
        QCOMPARE(banco.Texto(3, 1), QStringLiteral("01/03/2026"));
        QCOMPARE(banco.Texto(3, 3), QStringLiteral("1,781.17"));
        QCOMPARE(banco.Texto(4, 1), QStringLiteral("1500"));  // a number in a column of texts is a text
        QCOMPARE(banco.Texto(4, 3), QStringLiteral("0.00"));
        QCOMPARE(banco.lista.Texto(3, 3), std::string("1781.165"));

        // Columns wider than the view narrow to what they show and their titles; none widens past the screen's.
        banco.lista.SetColumnas({{"Folio", host::Alineacion::Izquierda, 6000},
                                 {"Cliente", host::Alineacion::Izquierda, 6000},
                                 {"Oculta", host::Alineacion::Izquierda, 0},
                                 {"Importe total de la nota", host::Alineacion::Derecha, 6000}});
        banco.vista->Refresca();
        const int ultima = banco.vista->horizontalHeader()->sectionViewportPosition(3) + banco.vista->columnWidth(3);
        QVERIFY(ultima <= banco.vista->viewport()->width());
        QVERIFY(banco.vista->columnWidth(3) >= banco.vista->horizontalHeader()->sectionSizeHint(3));
        QVERIFY(banco.vista->columnWidth(0) < 6000 / 15);
    }

    void marcaConLaCasilla() {
        Banco banco;
        QVERIFY(QTest::qWaitForWindowExposed(banco.vista.get()));
        banco.ClicCasilla(1);
        QCOMPARE(banco.marcadas, std::vector<int>{1});
        QCOMPARE(banco.cambios, 1);
        // The space bar is the screen's, which ticks the whole selection with it.
        banco.vista->setCurrentIndex(banco.Indice(0, 0));
        QTest::keyClick(banco.vista.get(), Qt::Key_Space);
        // A disabled list takes no tick from a person.
        banco.lista.SetEnabled(false);
        QVERIFY(!(banco.Indice(0, 0).flags() & Qt::ItemIsUserCheckable));
        QVERIFY(!banco.vista->model()->setData(banco.Indice(0, 0), Qt::Checked, Qt::CheckStateRole));
        QCOMPARE(banco.marcadas, std::vector<int>{1});
    }

    void refrescaLoQueCambioLaPantalla() {
        Banco banco;
        QSignalSpy datos(banco.vista->model(), &QAbstractItemModel::dataChanged);
        QSignalSpy reinicios(banco.vista->model(), &QAbstractItemModel::modelReset);
        // Checks set by the program ("Marcar todos"): one repaint of the check column, no reset.
        banco.lista.SetChecked(2, true);
        banco.vista->Refresca();
        QCOMPARE(reinicios.count(), 0);
        QCOMPARE(datos.count(), 1);
        QCOMPARE(datos[0][1].toModelIndex(), banco.Indice(2, 0));
        // Emptied by the screen, the view keeps its rows until Refresca and must survive painting them.
        banco.lista.Clear();
        QCOMPARE(banco.vista->model()->rowCount(), 3);
        QVERIFY(!banco.vista->grab().isNull());
        banco.lista.Agrega({{"N-010", {"épsilon"}}});
        banco.vista->setColumnWidth(1, 77);
        banco.vista->Refresca();
        QCOMPARE(banco.Texto(0, 1), QString("épsilon"));
        QCOMPARE(banco.vista->columnWidth(1), 77);  // a reload keeps what a person dragged
        banco.lista.SetColumnas({{"Folio", host::Alineacion::Izquierda, 0}, {"A", host::Alineacion::Izquierda, 1500}});
        banco.vista->Refresca();
        QVERIFY(banco.vista->isColumnHidden(0));
        QCOMPARE(banco.vista->columnWidth(1), 100);
    }

    void ordenaYSelecciona() {
        Banco banco;
        QVERIFY(QTest::qWaitForWindowExposed(banco.vista.get()));
        banco.Clic(0);
        banco.Clic(2, Qt::ShiftModifier);
        banco.Clic(1, Qt::ControlModifier);
        QCOMPARE(banco.Seleccionadas(), (std::vector<bool>{true, false, true}));
        QCOMPARE(banco.lista.Actual(), 1);

        banco.ClicEncabezado(1);
        QCOMPARE(banco.columnas, std::vector<int>{2});
        QCOMPARE(banco.cambios, 1);
        QCOMPARE(banco.Texto(2, 0), QString("N-003"));  // descending, without regard to case
        QHeaderView* encabezado = banco.vista->horizontalHeader();
        QCOMPARE(encabezado->sortIndicatorSection(), 1);
        QCOMPARE(encabezado->sortIndicatorOrder(), Qt::DescendingOrder);
        // The selection and the current item followed their notes, in the list and on screen.
        QCOMPARE(banco.Seleccionadas(), (std::vector<bool>{true, true, false}));
        QCOMPARE(banco.vista->FilaActual(), 2);
        QCOMPARE(banco.vista->selectionModel()->selectedRows(),
                 (QModelIndexList{banco.Indice(0, 0), banco.Indice(1, 0)}));

        // A disabled list does not sort, and its arrow stays where the list says.
        banco.lista.SetEnabled(false);
        banco.ClicEncabezado(3);
        QCOMPARE(banco.columnas.size(), std::size_t{1});
        QCOMPARE(encabezado->sortIndicatorOrder(), Qt::DescendingOrder);
    }
};

static prueba::RegistraPrueba<ListaTest> registro;

#include "lista_test.moc"

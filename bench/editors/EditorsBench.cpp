// The sensor grid with all 99 sensors fitted, tall enough that every row is
// painted: a type change that resets the sensitivities (the cascade) and the
// repaint of all 99 rows that follows, against the same repaint alone; and
// showing the sensor view, from a new frame to its first paint, against a
// plain Qt table view showing the same texts from a plain model that holds
// them ready, which reads only the rows on screen, as the program's model
// does. Subject and floor are measured in alternation; the last line gives
// the ratios.
#include "PX10ConfigData.h"
#include "RecordGrid.h"
#include "SensorEditFrame.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QTableView>

#include "FloorComparison.h"
#include "WidgetBench.h"

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int Rows = 99;

std::unique_ptr<TPX10ConfigData> FullSensors()
{
    auto c = std::make_unique<TPX10ConfigData>(false, false, true, false);
    c->FileHeader->SetPanelType(2);
    const int types[] = { 1, 2, 3, 4, 5, 6, 7, 9, 10, 11 };
    for (int a = 1; a <= Rows; ++a) {
        c->Sensors->SetType(a, types[a % 10]);
        c->Sensors->SetZone(a, 1 + a % 16);
        c->Sensors->SetDescription(a, "Sensor " + std::to_string(a));
    }
    return c;
}

// The least model a plain table needs: texts read from a vector, headings
// from another.
class PlainModel : public QAbstractTableModel {
public:
    PlainModel(const std::vector<QString>& Cells, const std::vector<QString>& Headings)
        : FCells(Cells)
        , FHeadings(Headings)
    {
    }
    int rowCount(const QModelIndex& = {}) const override { return Rows; }
    int columnCount(const QModelIndex& = {}) const override { return static_cast<int>(FHeadings.size()); }
    QVariant data(const QModelIndex& index, int role) const override
    {
        if (role != Qt::DisplayRole && role != Qt::EditRole)
            return {};
        return FCells[static_cast<std::size_t>(index.row() * columnCount() + index.column())];
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (role != Qt::DisplayRole)
            return {};
        return orientation == Qt::Horizontal ? QVariant(FHeadings[static_cast<std::size_t>(section)])
                                             : QVariant(section + 1);
    }

private:
    const std::vector<QString>& FCells;
    const std::vector<QString>& FHeadings;
};

struct Fixture {
    std::unique_ptr<TPX10ConfigData> Config = FullSensors();
    // The frame whose grid is repainted, every row on screen.
    TfrmSensorEdit Frame;
    bool Flip = false;
    // The texts the sensor view shows, read once.
    std::vector<QString> Cells;
    std::vector<QString> Headings;

    Fixture()
    {
        Frame.SetConfig(Config.get());
        Frame.LoadFromConfig();
        Frame.resize(1000, 3200);
        Frame.show();
        QApplication::processEvents();
        TSensorDataSet* set = Frame.SensorDataSet();
        const int columns = set->columnCount();
        for (int c = 0; c < columns; ++c)
            Headings.push_back(set->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString());
        for (int r = 1; r <= Rows; ++r)
            for (int c = 1; c <= columns; ++c)
                Cells.push_back(set->ReadField(c, r).toString());
        // The timed type changes must take, or the repaint is all there is.
        for (const char* type : { "MLT", "OPX" })
            if (!set->WriteField(sfType, 50, QString(type))
                || set->ReadField(sfType, 50).toString() != type) {
                std::fprintf(stderr, "type %s not taken\n", type);
                std::abort();
            }
    }
};

void Register(Fixture& f)
{
    benchfloor::Register({ "TypeChangeAndRepaint",
        [&f] {
            f.Flip = !f.Flip;
            f.Frame.SensorDataSet()->WriteField(sfType, 50, f.Flip ? QString("MLT") : QString("OPX"));
            f.Frame.Grid()->viewport()->repaint();
        },
        [&f] { f.Frame.Grid()->viewport()->repaint(); }, 1, 100, 0, 0, "repaint of the 99 rows" });

    benchfloor::Register({ "ShowSensorView",
        [&f] {
            TfrmSensorEdit frame;
            frame.SetConfig(f.Config.get());
            frame.LoadFromConfig();
            frame.resize(733, 630);
            frame.show();
            frame.repaint();
        },
        [&f] {
            PlainModel model(f.Cells, f.Headings);
            QTableView view;
            view.setModel(&model);
            view.resize(733, 630);
            view.show();
            view.repaint();
        },
        5, 60, 0, 0, "plain table view" });
}

} // namespace

int main(int argc, char** argv)
{
    benchwidgets::RunComparisons<Fixture>(argc, argv, Register);
    return 0;
}

#include "seating/LeastCostAssignment.h"

#include <algorithm>
#include <limits>
#include <map>

namespace {

// A network for the least-cost flow: edges with a capacity and a cost per
// unit, the flow found by sending one unit at a time along the cheapest path
// (Bellman-Ford over the residual network).
class LeastCostFlow {
public:
    explicit LeastCostFlow(int nodes) : m_out(size_t(nodes)) {}

    // Returns the edge's number.
    int AddEdge(int from, int to, int capacity, long long cost)
    {
        m_out[size_t(from)].push_back(int(m_edges.size()));
        m_edges.push_back({to, capacity, cost});
        m_out[size_t(to)].push_back(int(m_edges.size()));
        m_edges.push_back({from, 0, -cost});
        return int(m_edges.size()) - 2;
    }
    int Flow(int edge) const { return m_edges[size_t(edge) + 1].capacity; }

    // Sends units from source to sink; false when the network cannot take them.
    bool Send(int source, int sink, int units)
    {
        const size_t nodes = m_out.size();
        constexpr long long kFar = std::numeric_limits<long long>::max() / 4;
        std::vector<long long> distance(nodes);
        std::vector<int> via(nodes);
        std::vector<bool> queued(nodes);
        std::vector<int> queue;
        for (int sent = 0; sent < units; ++sent) {
            std::fill(distance.begin(), distance.end(), kFar);
            std::fill(via.begin(), via.end(), -1);
            distance[size_t(source)] = 0;
            queue.assign(1, source);
            queued[size_t(source)] = true;
            for (size_t next = 0; next < queue.size(); ++next) {
                const int node = queue[next];
                queued[size_t(node)] = false;
                for (int e : m_out[size_t(node)]) {
                    const Edge& edge = m_edges[size_t(e)];
                    const long long d = distance[size_t(node)] + edge.cost;
                    if (edge.capacity == 0 || d >= distance[size_t(edge.to)]) continue;
                    distance[size_t(edge.to)] = d;
                    via[size_t(edge.to)] = e;
                    if (!queued[size_t(edge.to)]) {
                        queued[size_t(edge.to)] = true;
                        queue.push_back(edge.to);
                    }
                }
            }
            if (via[size_t(sink)] < 0) return false;
            for (int node = sink; node != source; node = m_edges[size_t(via[size_t(node)] ^ 1)].to) {
                --m_edges[size_t(via[size_t(node)])].capacity;
                ++m_edges[size_t(via[size_t(node)] ^ 1)].capacity;
            }
        }
        return true;
    }

private:
    struct Edge {
        int to;
        int capacity;
        long long cost;
    };
    std::vector<std::vector<int>> m_out;
    std::vector<Edge> m_edges;
};

}  // namespace

std::vector<int> AssignAtLeastCost(const std::vector<std::vector<int>>& cost, const std::vector<int>& capacity,
                                   const std::vector<int>& team, int together)
{
    const int rows = int(cost.size()), columns = int(capacity.size());
    // Nodes: the source, the rows, the columns, the sink, then one for each
    // team and column.
    const int source = 0, sink = rows + columns + 1;
    std::map<std::pair<int, int>, int> teamColumn;
    if (team.empty()) together = 0;
    for (int r = 0; r < rows && together > 0; ++r)
        if (team[size_t(r)] != -1)
            for (int c = 0; c < columns; ++c) teamColumn.emplace(std::pair(team[size_t(r)], c), 0);
    int nodes = sink + 1;
    for (auto& [key, node] : teamColumn) node = nodes++;
    LeastCostFlow flow(nodes);
    std::vector<std::vector<int>> edges(static_cast<size_t>(rows));
    for (int r = 0; r < rows; ++r) {
        flow.AddEdge(source, 1 + r, 1, 0);
        const bool teamed = together > 0 && team[size_t(r)] != -1;
        for (int c = 0; c < columns; ++c) {
            const int to = teamed ? teamColumn[{team[size_t(r)], c}] : 1 + rows + c;
            edges[size_t(r)].push_back(flow.AddEdge(1 + r, to, 1, cost[size_t(r)][size_t(c)]));
        }
    }
    // The k-th team mate on one column adds k - 1 pairs.
    std::map<int, int> teamSize;
    for (int r = 0; r < rows && together > 0; ++r)
        if (team[size_t(r)] != -1) ++teamSize[team[size_t(r)]];
    for (const auto& [key, node] : teamColumn)
        for (int k = 0; k < teamSize[key.first]; ++k)
            flow.AddEdge(node, 1 + rows + key.second, 1, (long long)k * together);
    for (int c = 0; c < columns; ++c) flow.AddEdge(1 + rows + c, sink, capacity[size_t(c)], 0);

    long long total = 0;
    for (int c : capacity) total += c;
    if (total != rows || !flow.Send(source, sink, rows)) return {};
    std::vector<int> column(static_cast<size_t>(rows), -1);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c)
            if (flow.Flow(edges[size_t(r)][size_t(c)]) > 0) column[size_t(r)] = c;
    return column;
}

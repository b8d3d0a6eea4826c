#!/usr/bin/python3
"""Loads what zelgrin-export writes with the tools people use, and checks that they see the
graph file's nodes and edges with every attribute equal to the file's: as the file lists them in
CSV, and in GraphML and JSON as arcs from customer to provider, whose ways follow the arc.

The graph file is parsed here on its own, without the program. A tool that is not installed is
reported and skipped; a difference fails the run.

Usage: check_consumers.py ZELGRIN_EXPORT GRAPH WORKDIR AROUND_AS
"""
import collections
import csv
import importlib
import json
import os
import subprocess
import sys

PLAIN = ["oriented", "direction", "relationship", "paths_ab", "ip_ab", "paths_ba", "ip_ba"]
# An IPv6 graph's covering counts /64 units, and its fields say so.
IPV6_NAMES = {"ip_ab": "ipv6_slash64_ab", "ip_ba": "ipv6_slash64_ba"}
IPV6_UNIT = "IPv6 /64 units"
DIFFERENTIAL = ["cmp_oriented_0", "cmp_oriented_1", "cmp_direction_0", "cmp_direction_1",
                "paths_ab_1", "ip_ab_1", "paths_ba_1", "ip_ba_1", "compared_graphs", "incoming",
                "outgoing", "undirected", "unoriented", "orientation_changes",
                "orientation_stability"]
RELATIONSHIP = {1: "customer-provider", -1: "provider-customer"}

Graph = collections.namedtuple("Graph",
                               "differential ipv6 sources comment nodes edges customers")
# The fields that swap when an edge is seen from its other end.
SWAPPED = [("paths_ab", "paths_ba"), ("ip_ab", "ip_ba"), ("paths_ab_1", "paths_ba_1"),
           ("ip_ab_1", "ip_ba_1"), ("incoming", "outgoing"),
           ("ipv6_slash64_ab", "ipv6_slash64_ba")]
failures = []


def text(raw):
    # Invalid bytes become U+FFFD one by one, as the exporter writes them.
    return raw.decode("utf-8", errors="replace")


def read_graph_file(path):
    """The graph file as the exporter must show it: nodes, and edges keyed (a, b)."""
    with open(path, "rb") as f:
        lines = f.read().split(b"\n")
    differential = lines[0] == b"VDG"
    ipv6 = lines[0] == b"VGR6"
    count = int(lines[1])
    sources = [text(s) for s in lines[2:2 + count]]
    at = 2 + count
    comment = text(lines[at])
    node_count, edge_count = int(lines[at + 1]), int(lines[at + 2])
    nodes = [int(n) for n in lines[at + 3:at + 3 + node_count]]
    edges = {}
    customers = collections.Counter()
    for line in lines[at + 3 + node_count:at + 3 + node_count + edge_count]:
        fields = line.split()
        a, b = int(fields[0]), int(fields[1])
        numbers = [int(x) for x in fields[2:8]]
        values = dict(zip(["oriented", "direction", "paths_ab", "ip_ab", "paths_ba", "ip_ba"],
                          numbers))
        if ipv6:
            values = {IPV6_NAMES.get(k, k): v for k, v in values.items()}
        values["relationship"] = RELATIONSHIP.get(values["direction"],
                                                  "peer" if values["oriented"] else "unknown")
        if differential:
            values.update(zip(DIFFERENTIAL[:-1], [int(x) for x in fields[8:22]]))
            values["orientation_stability"] = float(fields[22])
        edges[(a, b)] = values
        if values["direction"]:
            customers[b if values["direction"] == 1 else a] += 1
    return Graph(differential, ipv6, sources, comment, nodes, edges, customers)


def arcs(graph):
    """The edges as directed-graph formats give them: a provider-customer edge reversed."""
    result = {}
    for (a, b), values in graph.edges.items():
        if values["direction"] != -1:
            result[(a, b)] = values
            continue
        seen = dict(values, direction=1, relationship="customer-provider")
        for x, y in SWAPPED:
            if x in values:
                seen[x], seen[y] = values[y], values[x]
        for name in ("cmp_direction_0", "cmp_direction_1"):
            if name in values:
                seen[name] = -values[name]
        result[(b, a)] = seen
    return graph._replace(edges=result)


def names(graph):
    plain = [IPV6_NAMES.get(n, n) for n in PLAIN] if graph.ipv6 else PLAIN
    return plain + (DIFFERENTIAL if graph.differential else [])


def graph_data(graph):
    """What GraphML and JSON say of the graph as a whole, besides its sources."""
    data = {"comment": graph.comment, "differential": graph.differential}
    if graph.ipv6:
        data["ip_covering_unit"] = IPV6_UNIT
    return data


def check(tool, condition, message):
    if not condition:
        failures.append("%s: %s" % (tool, message))
    return condition


def same_value(expected, seen, exact_types):
    if isinstance(expected, str):
        return seen == expected
    if exact_types and type(seen) is not type(expected):
        return False
    return float(seen) == float(expected) if not exact_types else seen == expected


def compare(tool, graph, nodes, edges, exact_types=True):
    """nodes: {id: asn}; edges: {(source id, target id): {attribute: value}}."""
    expected_nodes = {"AS%d" % n: n for n in graph.nodes}
    check(tool, len(nodes) == len(graph.nodes), "%d nodes, expected %d" %
          (len(nodes), len(graph.nodes)))
    for node, asn in nodes.items():
        if not check(tool, expected_nodes.get(node) is not None and
                     same_value(expected_nodes[node], asn, exact_types),
                     "node %r asn %r" % (node, asn)):
            return
    check(tool, len(edges) == len(graph.edges), "%d edges, expected %d" %
          (len(edges), len(graph.edges)))
    for (a, b), values in graph.edges.items():
        seen = edges.get(("AS%d" % a, "AS%d" % b))
        if not check(tool, seen is not None, "edge %d %d missing" % (a, b)):
            return
        check(tool, set(seen) == set(names(graph)), "edge %d %d has %s" % (a, b, sorted(seen)))
        for name in names(graph):
            if not check(tool, same_value(values[name], seen.get(name), exact_types),
                         "edge %d %d %s is %r, expected %r" %
                         (a, b, name, seen.get(name), values[name])):
                return


def export(program, graph_path, *options):
    result = subprocess.run([program, *options, graph_path], capture_output=True)
    if result.returncode != 0:
        raise SystemExit("zelgrin-export %s failed: %s" % (" ".join(options), result.stderr))


def optional(module):
    try:
        return importlib.import_module(module)
    except ImportError:
        print("skipped: %s is not installed (Debian package python3-%s)" % (module, module))
        return None


def check_providers(tool, graph, g):
    """In the DiGraph an AS's customers are its predecessors over customer-provider arcs."""
    for node in g.nodes:
        seen = sum(1 for u in g.predecessors(node)
                   if g[u][node]["relationship"] == "customer-provider")
        if not check(tool, seen == graph.customers[int(node[2:])],
                     "%s has %d customer arcs in, expected %d" %
                     (node, seen, graph.customers[int(node[2:])])):
            return


def node_link_graph(nx, data):
    """The README's call: networkx 3.4 and later read the edges under "edges" unless told."""
    if tuple(int(x) for x in nx.__version__.split(".")[:2]) >= (3, 4):
        return nx.node_link_graph(data, edges="links")
    return nx.node_link_graph(data)


def check_graphml(graph, path):
    nx = optional("networkx")
    if nx:
        g = nx.read_graphml(path)
        check("networkx graphml", g.is_directed() and not g.is_multigraph(), "not a DiGraph")
        compare("networkx graphml", arcs(graph), {n: d["asn"] for n, d in g.nodes(data=True)},
                {(a, b): d for a, b, d in g.edges(data=True)})
        check_providers("networkx graphml", graph, g)
        seen = {k: v for k, v in g.graph.items() if k not in ("node_default", "edge_default")}
        check("networkx graphml", seen == dict(graph_data(graph), sources="\n".join(graph.sources)),
              "graph data %r" % g.graph)
    ig = optional("igraph")
    if ig:
        g = ig.Graph.Read_GraphML(path)
        ids = g.vs["id"]
        check("igraph graphml", g.is_directed(), "not directed")
        edges = {}
        for e in g.es:
            edges[(ids[e.source], ids[e.target])] = e.attributes()
        compare("igraph graphml", arcs(graph), dict(zip(ids, g.vs["asn"])), edges,
                exact_types=False)
        check("igraph graphml", g["comment"] == graph.comment, "comment %r" % g["comment"])


def check_csv(graph, folder, edges_only):
    with open(os.path.join(folder, "nodes.csv"), newline="") as f:
        nodes = {row["id"]: int(row["asn"]) for row in csv.DictReader(f)}
    with open(os.path.join(folder, "edges.csv"), newline="") as f:
        rows = list(csv.DictReader(f))
    def typed(row):
        return {k: (v if k == "relationship" else
                    float(v) if k == "orientation_stability" else int(v))
                for k, v in row.items() if k not in ("source", "target")}
    compare("csv module", graph, nodes, {(r["source"], r["target"]): typed(r) for r in rows})
    with open(os.path.join(folder, "edges.csv"), "rb") as f, open(edges_only, "rb") as g:
        check("csv --edges-only", f.read() == g.read(), "differs from edges.csv")
    pd = optional("pandas")
    if pd:
        table = pd.read_csv(os.path.join(folder, "edges.csv"))
        edges = {}
        for row in table.to_dict("records"):
            edges[(row.pop("source"), row.pop("target"))] = row
        node_table = pd.read_csv(os.path.join(folder, "nodes.csv"))
        compare("pandas csv", graph, dict(zip(node_table["id"], node_table["asn"])), edges,
                exact_types=False)


def check_json(graph, path):
    nx = optional("networkx")
    if not nx:
        return
    with open(path) as f:
        data = json.load(f)
    g = node_link_graph(nx, data)
    check("networkx json", g.is_directed() and not g.is_multigraph(), "not a DiGraph")
    compare("networkx json", arcs(graph), {n: d["asn"] for n, d in g.nodes(data=True)},
            {(a, b): d for a, b, d in g.edges(data=True)})
    check_providers("networkx json", graph, g)
    check("networkx json", g.graph == dict(graph_data(graph), sources=graph.sources),
          "graph data %r" % g.graph)


def neighbourhood(graph, centre, depth):
    adjacent = collections.defaultdict(set)
    for a, b in graph.edges:
        adjacent[a].add(b)
        adjacent[b].add(a)
    kept, ring = {centre}, {centre}
    for _ in range(depth):
        ring = {n for r in ring for n in adjacent[r]} - kept
        kept |= ring
    return kept


def check_around(graph, path, centre, depth):
    with open(path) as f:
        data = json.load(f)
    kept = neighbourhood(graph, centre, depth)
    check("json --around", sorted(n["asn"] for n in data["nodes"]) == sorted(kept),
          "nodes of the neighbourhood of %d" % centre)
    expected = sorted(("AS%d" % a, "AS%d" % b) for a, b in arcs(graph).edges
                      if a in kept and b in kept)
    check("json --around", sorted((l["source"], l["target"]) for l in data["links"]) == expected,
          "edges of the neighbourhood of %d" % centre)


def check_dot(path):
    try:
        result = subprocess.run(["dot", "-Tsvg", path], capture_output=True)
    except FileNotFoundError:
        print("skipped: dot is not installed (Debian package graphviz)")
        return
    check("dot -Tsvg", result.returncode == 0 and b"<svg" in result.stdout,
          "status %d: %s" % (result.returncode, result.stderr[:200]))


def main():
    program, graph_path, work, around = sys.argv[1:5]
    around = int(around)
    graph = read_graph_file(graph_path)
    out = lambda name: os.path.join(work, name)
    export(program, graph_path, "--to", "graphml", "-o", out("g.graphml"))
    export(program, graph_path, "--to", "csv", "-o", out("tables"))
    export(program, graph_path, "--to", "csv", "--edges-only", "-o", out("edges-only.csv"))
    export(program, graph_path, "--to", "json", "-o", out("g.json"))
    export(program, graph_path, "--to", "json", "--around", str(around), "--depth", "2",
           "-o", out("around.json"))
    export(program, graph_path, "--to", "dot", "--around", str(around), "-o", out("around.dot"))
    check_graphml(graph, out("g.graphml"))
    check_csv(graph, out("tables"), out("edges-only.csv"))
    check_json(graph, out("g.json"))
    check_around(graph, out("around.json"), around, 2)
    check_dot(out("around.dot"))
    for failure in failures[:20]:
        print("FAILED", failure)
    print("%s: %d nodes, %d edges, %s" % (os.path.basename(graph_path), len(graph.nodes),
                                          len(graph.edges), "failed" if failures else "ok"))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())

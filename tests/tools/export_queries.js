// Queries an export with DuckDB and prints the answers as sorted tab-separated lines, for
// cli_export_engine_test to compare with what lexorant-cli summary and show say.
//   node export_queries.js DIR      (NODE_PATH: the folder scripts/ensure-duckdb prints)
const { DuckDBInstance } = require('@duckdb/node-api');

const dir = process.argv[2];
const g = `read_csv('${dir}/g_info/**/*.csv.gz', hive_partitioning = true)`;
const x = `read_csv('${dir}/x_info/**/*.csv.gz', hive_partitioning = true)`;
const readOuts = `read_csv('${dir}/read_outs/*.csv.gz')`;
const queries = [
  ['g_code', `SELECT code, count(*) FROM ${g} GROUP BY code`],
  ['x_code', `SELECT code, count(*) FROM ${x} GROUP BY code`],
  ['g_rows', `SELECT read_out, serial, count(*) FROM ${g} GROUP BY read_out, serial`],
  ['x_rows', `SELECT read_out, serial, count(*) FROM ${x} GROUP BY read_out, serial`],
  ['ti', `SELECT read_out, entry, ti FROM ${x}`],
  ['read_out', `SELECT read_out, g_info_in, x_info_in, partial, damaged FROM ${readOuts}`],
];

(async () => {
  const db = await DuckDBInstance.create(':memory:');
  const connection = await db.connect();
  const lines = [];
  for (const [name, sql] of queries) {
    const reader = await connection.runAndReadAll(sql);
    for (const row of reader.getRows())
      lines.push([name, ...row.map((v) => (v === null ? '' : String(v)))].join('\t'));
  }
  lines.sort();
  process.stdout.write(lines.join('\n') + '\n');
})().catch((e) => {
  console.error(e.message);
  process.exit(1);
});

// quenview's HTML report in headless chromium, on the program's own output:
// the report of every example board, two comparisons and a file name made to
// break out of the page's data element. Each page must open without an error
// or a request, show what its JSON says, draw a chart for every block with
// series, show a point's value on hover, filter its block list and print the
// serial number into a PDF.
//
//   node --test quenview/web/tests/report.test.mjs
//
// QUENVIEW_BUILD names the build folder (default build/linux); pages,
// PDFs and screenshots go to its browser-tests/ and screenshots/ folders.
import assert from 'node:assert/strict';
import { execFileSync, spawnSync } from 'node:child_process';
import { copyFileSync, mkdirSync, readFileSync, readdirSync, rmSync, writeFileSync } from 'node:fs';
import { basename, dirname, join, resolve } from 'node:path';
import { after, before, describe, test } from 'node:test';
import { fileURLToPath, pathToFileURL } from 'node:url';
import { launchBrowser } from './browser.mjs';

const root = resolve(dirname(fileURLToPath(import.meta.url)), '../../..');
const build = resolve(root, process.env.QUENVIEW_BUILD || 'build/linux');
const quenview = join(build, 'quenview/quenview');
const work = join(build, 'browser-tests');
const screenshots = join(build, 'screenshots');
const examples = join(root, 'examples');

rmSync(work, { recursive: true, force: true });
mkdirSync(work, { recursive: true });
mkdirSync(screenshots, { recursive: true });

// Runs quenview; a written report answers 0 (verified) or 6 (damage shown).
function runQuenview(args) {
    const run = spawnSync(quenview, args, { encoding: 'latin1' });
    assert.ok(run.status === 0 || run.status === 6, `quenview ${args.join(' ')}: status ${run.status}\n${run.stderr}`);
}

// The HTML page and the JSON of the same inputs.
function makeCase(name, inputs) {
    const html = join(work, `${name}.html`);
    const json = join(work, `${name}.json`);
    runQuenview(['-o', html, ...inputs]);
    runQuenview(['--json', '-o', json, ...inputs]);
    return { name, html, model: JSON.parse(readFileSync(json, 'utf8')) };
}

// An image without its n-th block (counted from 0), walked by the length
// fields of the block headers.
function withoutBlock(image, n) {
    let offset = 0;
    for (let i = 0; i < n; ++i) offset += image.readUInt16LE(offset + 2);
    const length = image.readUInt16LE(offset + 2);
    return Buffer.concat([image.subarray(0, offset), image.subarray(offset + length)]);
}

// The page shows numbers to 15 significant digits.
function shown(value) {
    return value === null || value === undefined ? '' : String(Number(value.toPrecision(15)));
}

function hasSeries(grid) {
    return grid.chart && grid.columns.length > 0 && grid.values.length > 0;
}

const boards = readdirSync(examples).filter((f) => f.endsWith('.bin')).map((f) => basename(f, '.bin')).sort();
const reports = boards.map((board) => makeCase(board, [join(examples, `${board}.bin`)]));

// One matrix cell changed: the first value of SATT3's attenuator matrix, in
// the text, compared with the shipped image.
const satt3Text = readFileSync(join(examples, 'satt3.txt'), 'latin1');
const changedText = satt3Text.replace(/^(ID:\s+SATT3_CALIB_DATA_ATT\n(?:[^\n]*\n)*?0:\t\t)-30\t/m, '$1-31\t');
assert.notEqual(changedText, satt3Text, 'the attenuator matrix of satt3.txt is where the test expects it');
writeFileSync(join(work, 'satt3-cell.txt'), changedText, 'latin1');
// A block removed: the fourth block of mbrd's image.
writeFileSync(join(work, 'mbrd-less.bin'), withoutBlock(readFileSync(join(examples, 'mbrd.bin')), 4));
const comparisons = [
    makeCase('compare-cell', [join(examples, 'satt3.bin'), join(work, 'satt3-cell.txt')]),
    makeCase('compare-removed', [join(examples, 'mbrd.bin'), join(work, 'mbrd-less.bin')]),
];

// A file name that would end the data element or open a comment, were the
// model's "<" written as it is.
const hostileName = '<!--<script>x.bin';
copyFileSync(join(examples, 'satt3.bin'), join(work, hostileName));
const hostile = makeCase('hostile', [join(work, hostileName)]);

let browser;
before(async () => {
    browser = await launchBrowser();
});
after(async () => {
    await browser.close();
});

// Opens a page and collects what it must not do.
async function open(page) {
    const tab = await browser.context.newPage();
    const problems = [];
    const url = pathToFileURL(page.html).href;
    tab.on('pageerror', (error) => problems.push(`page error: ${error.message}`));
    tab.on('console', (message) => {
        if (message.type() === 'error' || message.type() === 'warning') problems.push(`console ${message.type()}: ${message.text()}`);
    });
    tab.on('request', (request) => {
        if (request.url() !== url) problems.push(`request: ${request.url()}`);
    });
    await tab.goto(url);
    return { tab, problems };
}

// Scrolls through the page until every chart is drawn; answers the block
// sections that hold a drawn chart, each with whether its canvas has pixels.
async function drawCharts(tab) {
    await tab.evaluate(async () => {
        const frame = () => new Promise((done) => requestAnimationFrame(() => setTimeout(done, 0)));
        for (let guard = 0; guard < 2000 && performance.getEntriesByName('quenview:charts-drawn').length === 0; ++guard) {
            const bottom = window.scrollY + window.innerHeight >= document.documentElement.scrollHeight - 2;
            window.scrollBy(0, bottom ? -document.documentElement.scrollHeight : window.innerHeight);
            await frame();
        }
        window.scrollTo(0, 0);
        await frame();
    });
    return tab.evaluate(() => Array.from(document.querySelectorAll('.chart')).map((holder) => {
        const canvas = holder.querySelector('canvas');
        let painted = false;
        if (canvas && canvas.width > 0) {
            const pixels = canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height).data;
            for (let i = 3; i < pixels.length && !painted; i += 4) painted = pixels[i] !== 0;
        }
        return { section: holder.closest('section.block').id, drawn: holder.dataset.drawn === 'true', painted };
    }));
}

function checkCharts(charts, blocks, anchorOf) {
    const withSeries = blocks.map((block, i) => ({ block, i })).filter(({ block }) => block.grids.some(hasSeries));
    assert.equal(charts.length, withSeries.length, 'one chart for every block with series');
    for (const chart of charts) assert.ok(chart.drawn && chart.painted, `the chart of ${chart.section} is drawn`);
    assert.deepEqual(charts.map((c) => c.section).sort(), withSeries.map(({ i }) => anchorOf(i)).sort(), 'the charts stand in the sections of the blocks with series');
}

// Moves the mouse onto the first point of the first chart's first series and
// reads the hover text; answers the value and x it must name.
async function hoverFirstPoint(tab, block) {
    // The left-most point of the first column, the only curve left shown, so
    // that no neighbour stands nearer the pointer.
    const grid = block.grids.find(hasSeries);
    const xOf = (r) => (grid.xValues.length === 0 ? r + 1 : grid.xValues[r]);
    const rows = grid.values.map((_, r) => r).filter((r) => grid.values[r][0] !== null && xOf(r) !== null);
    if (rows.length === 0) return null;
    const row = rows.reduce((best, r) => (xOf(r) < xOf(best) ? r : best));
    const x = xOf(row);
    const y = grid.values[row][0];
    const holder = await tab.$('.chart[data-drawn]');
    await holder.scrollIntoViewIfNeeded();
    await holder.evaluate((node) => {
        const plot = window.quenview.chart(node);
        for (let i = 2; i < plot.series.length; ++i) plot.setSeries(i, { show: false });
    });
    // Sections that come into view are laid out, and the chart scaled to the
    // curve left, in the next frames.
    await tab.evaluate(() => new Promise((done) => requestAnimationFrame(() => requestAnimationFrame(done))));
    const point = await holder.evaluate((node, [px, py]) => {
        const plot = window.quenview.chart(node);
        const over = plot.over.getBoundingClientRect();
        // A point on the plot's edge is hovered from a pixel inside it.
        const inside = (at, size) => Math.min(Math.max(at, 1), size - 1);
        return { left: over.left + inside(plot.valToPos(px, 'x'), over.width), top: over.top + inside(plot.valToPos(py, plot.series[1].scale), over.height) };
    }, [x, y]);
    // On a loaded machine the first move may come before the chart listens;
    // the pointer leaves and comes back until the tip shows.
    let tip = null;
    for (let attempt = 0; attempt < 5 && !tip; ++attempt) {
        await tab.mouse.move(0, 0);
        await tab.mouse.move(point.left, point.top, { steps: 4 });
        tip = await tab.waitForSelector('.chart-tip:not([hidden])', { timeout: 4000 }).catch(() => null);
    }
    assert.ok(tip, 'hovering a point shows its value');
    return { text: await tip.textContent(), value: shown(y), x: shown(x) };
}

// The filter keeps the blocks whose names hold the query; "/" reaches it,
// the arrow key the first row, Enter goes to that block's section.
async function checkFilter(tab, names) {
    const counts = new Map();
    for (const name of names) for (let i = 0; i + 3 <= name.length; ++i) {
        const part = name.slice(i, i + 3).toLowerCase();
        counts.set(part, (counts.get(part) || 0) + 1);
    }
    const query = [...counts].filter(([, n]) => n < names.length).sort((a, b) => b[1] - a[1])[0]?.[0];
    if (!query) return;
    const expected = names.filter((name) => name.toLowerCase().includes(query)).length;
    await tab.keyboard.press('/');
    await tab.keyboard.type(query);
    const visible = await tab.$$eval('#block-list tbody tr', (rows) => rows.filter((tr) => !tr.hidden).map((tr) => tr.querySelector('a').textContent));
    assert.equal(visible.length, expected, `the filter "${query}" keeps ${expected} of ${names.length} blocks`);
    assert.ok(visible.every((name) => name.toLowerCase().includes(query)), `every block left holds "${query}"`);
    await tab.keyboard.press('ArrowDown');
    const target = await tab.evaluate(() => document.activeElement.getAttribute('href'));
    await tab.keyboard.press('Enter');
    await tab.waitForFunction((hash) => location.hash === hash, target);
    await tab.keyboard.press('/');
    await tab.keyboard.press('Escape');
    assert.equal(await tab.$$eval('#block-list tbody tr', (rows) => rows.filter((tr) => !tr.hidden).length), names.length);
}

async function pdfText(tab, name) {
    const pdf = join(work, `${name}.pdf`);
    await tab.pdf({ path: pdf, format: 'A4' });
    return execFileSync('pdftotext', ['-layout', pdf, '-'], { encoding: 'utf8' });
}

async function checkBoardHeader(tab, report, scope) {
    const facts = await tab.$eval(scope, (node) => ({
        badge: node.querySelector('.status-badge').textContent,
        file: node.querySelector('.file-name').textContent,
        sha: node.querySelector('.sha').textContent,
        terms: Object.fromEntries(Array.from(node.querySelectorAll('.board div')).map((d) => [d.querySelector('dt').textContent, d.querySelector('dd').textContent])),
    }));
    assert.equal(facts.badge, report.status.verified ? 'verified' : 'damaged', 'status badge');
    assert.equal(facts.file, report.file.name);
    assert.equal(facts.sha, report.file.sha256);
    if (report.board.present) {
        assert.equal(facts.terms['serial number'], String(report.board.serialNumber));
        assert.equal(facts.terms['unit name'], report.board.unitName);
        assert.equal(facts.terms['part number'], report.board.partNumber);
    }
}

async function screenshot(tab, name, selector) {
    if (selector) await tab.$eval(selector, (node) => node.scrollIntoView());
    else await tab.evaluate(() => window.scrollTo(0, 0));
    await tab.waitForTimeout(100);
    await tab.screenshot({ path: join(screenshots, `${name}.png`) });
}

describe('report of every example board', () => {
    for (const page of [...reports, hostile]) {
        test(page.name, async () => {
            const { report } = page.model;
            const { tab, problems } = await open(page);
            try {
                await checkBoardHeader(tab, report, '#summary');
                const rows = await tab.$$eval('#block-list tbody tr', (trs) => trs.map((tr) => tr.cells[1].textContent));
                assert.deepEqual(rows, report.blocks.map((b) => b.name || '(no name)'), 'the block list in file order');
                const charts = await drawCharts(tab);
                checkCharts(charts, report.blocks, (i) => `block-${i}`);
                const charted = report.blocks.find((b) => b.grids.some(hasSeries));
                if (charted) {
                    const hover = await hoverFirstPoint(tab, charted);
                    if (hover) assert.match(hover.text, new RegExp(`: ${hover.value.replace(/[.+-]/g, '\\$&')}\\b.* at ${hover.x.replace(/[.+-]/g, '\\$&')}\\b`), 'the hover text names the point');
                }
                await checkFilter(tab, report.blocks.map((b) => b.name || '(no name)'));
                if (page === hostile) assert.equal(await tab.title(), hostileName, 'the title as the file is named');
                const text = await pdfText(tab, page.name);
                if (report.board.present) assert.ok(text.includes(String(report.board.serialNumber)), 'the PDF holds the serial number');
                if (page.name === 'satt3' || page.name === 'iqop6') {
                    await screenshot(tab, `report-${page.name}`);
                    await screenshot(tab, `report-${page.name}-chart`, '.chart[data-drawn]');
                }
                assert.deepEqual(problems, []);
            } finally {
                await tab.close();
            }
        });
    }
});

describe('comparison', () => {
    for (const page of comparisons) {
        test(page.name, async () => {
            const { comparison } = page.model;
            const { summary } = comparison;
            const { tab, problems } = await open(page);
            try {
                const facts = await tab.$eval('#summary', (node) => ({
                    compared: node.querySelector('.compared-count').textContent,
                    changed: node.querySelector('.changed-count').textContent,
                    changedBlocks: Array.from(node.querySelectorAll('.changed-blocks a')).map((a) => a.textContent),
                    onlyFirst: Array.from(node.querySelectorAll('.only-first a')).map((a) => a.textContent),
                    onlySecond: Array.from(node.querySelectorAll('.only-second a')).map((a) => a.textContent),
                }));
                assert.deepEqual(facts, {
                    compared: String(summary.compared), changed: String(summary.changed),
                    changedBlocks: summary.changedBlocks, onlyFirst: summary.onlyFirst, onlySecond: summary.onlySecond,
                });
                const sides = await tab.$$('#summary .board-header');
                assert.equal(sides.length, 2);
                await checkBoardHeader(tab, comparison.before, '#summary .board-header:nth-of-type(1)');
                await checkBoardHeader(tab, comparison.after, '#summary .board-header:nth-of-type(2)');

                // Changed blocks first, in the list and in the sections.
                const states = { same: 'same', changed: 'changed', onlyFirst: 'only in the first', onlySecond: 'only in the second' };
                const listed = await tab.$$eval('#block-list tbody tr', (trs) => trs.map((tr) => tr.cells[2].textContent));
                const differing = comparison.pairs.filter((p) => p.state !== 'same').length;
                assert.ok(differing > 0, 'the comparison has a change to show');
                assert.ok(listed.slice(0, differing).every((s) => s !== states.same) && listed.slice(differing).every((s) => s === states.same), 'changed blocks first');
                assert.deepEqual(listed.slice().sort(), comparison.pairs.map((p) => states[p.state]).sort());

                // Every changed value of a shown grid is highlighted with both values.
                for (const pair of comparison.pairs.filter((p) => p.state === 'changed')) {
                    const anchor = `pair-${comparison.pairs.indexOf(pair)}`;
                    const highlighted = await tab.$$eval(`#${anchor} .content td.changed`, (cells) => cells.map((td) => ({
                        after: td.querySelector('.after').textContent, before: td.querySelector('.was').textContent })));
                    const listedChanges = await tab.$$eval(`#${anchor} table.changes tbody tr`, (trs) => trs.length);
                    assert.equal(listedChanges, pair.changes.length, `${pair.name}: every change listed`);
                    if (pair.changes.length === 1 && pair.changes[0].before !== null && pair.changes[0].after !== null) {
                        assert.deepEqual(highlighted, [{ after: shown(pair.changes[0].after), before: shown(pair.changes[0].before) }], `${pair.name}: the changed cell`);
                    }
                }

                const pairs = comparison.pairs;
                const ordered = pairs.map((p, i) => ({ p, i })).sort((a, b) => (a.p.state === 'same') - (b.p.state === 'same') || a.i - b.i);
                const blocks = ordered.map(({ p }) => {
                    const side = p.state === 'onlyFirst' ? comparison.before : comparison.after;
                    return side.blocks.find((b) => b.id === p.id);
                });
                const charts = await drawCharts(tab);
                assert.equal(charts.length, blocks.filter((b) => b.grids.some(hasSeries)).length, 'one chart for every block with series');
                for (const chart of charts) assert.ok(chart.drawn && chart.painted, `the chart of ${chart.section} is drawn`);

                // Before and after overlaid, each named in the legend.
                const changedChart = pairs.findIndex((p) => p.state === 'changed' &&
                    comparison.after.blocks.find((b) => b.id === p.id).grids.some(hasSeries));
                if (changedChart >= 0) {
                    const legend = await tab.$$eval(`#pair-${changedChart} .u-legend .u-series .u-label`, (labels) => labels.map((l) => l.textContent));
                    assert.ok(legend.some((l) => l.endsWith('(before)')) && legend.some((l) => l.endsWith('(after)')), 'legend names before and after');
                }
                await checkFilter(tab, ordered.map(({ p }) => p.name));
                const text = await pdfText(tab, page.name);
                assert.ok(text.includes(String(comparison.after.board.serialNumber)), 'the PDF holds the serial number');
                if (page.name === 'compare-cell') {
                    await screenshot(tab, 'comparison');
                    await screenshot(tab, 'comparison-changed-block', 'section.block.changed');
                }
                assert.deepEqual(problems, []);
            } finally {
                await tab.close();
            }
        });
    }
});

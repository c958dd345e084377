// Benchmark of quenview's HTML report in headless chromium: the report of the
// image that holds every block type at full capacity. It measures, from the
// start of navigation, when the summary and the block list are shown, and
// when every chart has been drawn while the page is scrolled through from top
// to bottom, a viewport at a time. Targets: 1 s and 3 s.
//
//   node bench/report_page.mjs [build-dir] [runs]
//
// The build folder (default build/linux) must hold quenview and
// quenmap_full_image (bench/run-report-page.sh builds them).
import { execFileSync } from 'node:child_process';
import { mkdirSync } from 'node:fs';
import { dirname, join, resolve } from 'node:path';
import { fileURLToPath, pathToFileURL } from 'node:url';
import { launchBrowser } from '../quenview/web/tests/browser.mjs';

const root = resolve(dirname(fileURLToPath(import.meta.url)), '..');
const build = resolve(process.argv[2] || join(root, 'build/linux'));
const runs = Number(process.argv[3] || 5);
const work = join(build, 'bench-report-page');
mkdirSync(work, { recursive: true });

const image = join(work, 'full.bin');
const page = join(work, 'full.html');
execFileSync(join(build, 'bench/quenmap_full_image'), [join(root, 'examples'), image]);
// Status 6 would say the image is damaged: it must not be.
execFileSync(join(build, 'quenview/quenview'), ['-o', page, image]);

async function measure(browser) {
    const tab = await browser.context.newPage();
    const errors = [];
    tab.on('pageerror', (error) => errors.push(error.message));
    tab.on('console', (message) => { if (message.type() === 'error') errors.push(message.text()); });
    await tab.goto(pathToFileURL(page).href, { waitUntil: 'commit' });
    await tab.waitForFunction(() => performance.getEntriesByName('quenview:summary-shown').length > 0, null, { timeout: 60000 });
    // Scroll through, one viewport a frame, until the last chart is drawn.
    const result = await tab.evaluate(async () => {
        const frame = () => new Promise((done) => requestAnimationFrame(() => setTimeout(done, 0)));
        while (performance.getEntriesByName('quenview:charts-drawn').length === 0) {
            const bottom = window.scrollY + window.innerHeight >= document.documentElement.scrollHeight - 2;
            if (bottom && document.querySelectorAll('.chart:not([data-drawn])').length === 0 &&
                document.querySelectorAll('.content.pending').length === 0) break;
            window.scrollBy(0, window.innerHeight);
            await frame();
        }
        const at = (name) => (performance.getEntriesByName(name)[0] || { startTime: NaN }).startTime;
        return {
            summary: at('quenview:summary-shown'),
            charts: at('quenview:charts-drawn'),
            chartCount: document.querySelectorAll('.chart[data-drawn]').length,
        };
    });
    await tab.close();
    if (errors.length > 0) throw new Error(`the page reported errors: ${errors.join('; ')}`);
    return result;
}

const browser = await launchBrowser();
const results = [];
try {
    await measure(browser); // the first start of the browser's caches is not counted
    for (let i = 0; i < runs; ++i) results.push(await measure(browser));
} finally {
    await browser.close();
}
const median = (values) => values.slice().sort((a, b) => a - b)[Math.floor(values.length / 2)];
const summary = median(results.map((r) => r.summary));
const charts = median(results.map((r) => r.charts));
const last = results[results.length - 1];
console.log(`full-capacity image report: ${last.chartCount} charts, median of ${runs} runs`);
console.log(`summary and block list shown  ${(summary / 1000).toFixed(3)} s  (target 1 s)`);
console.log(`every chart drawn, scrolling  ${(charts / 1000).toFixed(3)} s  (target 3 s)`);
if (!(summary <= 1000 && charts <= 3000)) process.exitCode = 1;

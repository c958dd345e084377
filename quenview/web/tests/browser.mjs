// Headless Debian chromium for the report page's tests and benchmark, driven
// by playwright-core; never a browser of playwright's own. Background network
// services stay off: the page must not reach out, and on a closed network
// chromium's own connections would only fail.
import { mkdtempSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { chromium } from 'playwright-core';

export const chromiumPath = process.env.CHROMIUM || '/usr/bin/chromium';

const flags = [
    '--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
    '--disable-background-networking', '--disable-component-update', '--disable-sync',
];

// A browser with a fresh profile; close() removes the profile too.
export async function launchBrowser() {
    const profile = mkdtempSync(join(tmpdir(), 'quenview-chromium-'));
    const context = await chromium.launchPersistentContext(profile, {
        executablePath: chromiumPath,
        headless: true,
        args: flags,
        viewport: { width: 1280, height: 900 },
    });
    return {
        context,
        async close() {
            await context.close();
            rmSync(profile, { recursive: true, force: true });
        },
    };
}
